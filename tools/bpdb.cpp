// bpdb: look into and change a Brightpost database from the command line, through the same
// store code as the program. Results go to stdout, the store's own messages to stderr.

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "store/DatabaseFile.h"
#include "store/FontCodec.h"
#include "store/Markup.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The store asks the desktop only when it places a new note, which bpdb never makes.
class NoDesktop : public bp::IDesktop {
public:
    bp::Rect screenRect() const override { return {0, 0, 1920, 1080}; }
    bp::Rect availableRect() const override { return screenRect(); }
    bp::Point cursorPos() const override { return {}; }
    bp::Rect workAreaAtPointer() const override { return screenRect(); }
};

int usage() {
    std::cerr << "usage: bpdb check FILE\n"
                 "       bpdb list FILE\n"
                 "       bpdb get FILE NID ATTR\n"
                 "       bpdb set FILE NID ATTR VALUE\n"
                 "       bpdb settings FILE\n"
                 "       bpdb dump FILE\n"
                 "ATTR 'body' reads or writes the note body.\n";
    return 2;
}

// Names the table does not know are taken as text.
bp::AttrType typeOf(std::string_view attr) {
    const std::size_t at = bp::NoteAttributeIndex(attr);
    return at < bp::kNoteAttributes.size() ? bp::kNoteAttributes[at].type : bp::AttrType::Text;
}

// A whole decimal number in the range of its type, or nothing.
bool parseWhole(const std::string& text, bool allowNegative, long long& out) {
    if (text.empty() || text.size() > 11) {
        return false;
    }
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == 1 && !allowNegative) {
        return false;
    }
    if (i == text.size() || text.find_first_not_of("0123456789", i) != std::string::npos) {
        return false;
    }
    out = std::stoll(text);
    return out >= (allowNegative ? -2147483648LL : 0) &&
           out <= (allowNegative ? 2147483647LL : 4294967295LL);
}

// The attributes of a start tag or settings section, in their order.
std::vector<std::pair<std::string, std::string>> attributesOf(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> out;
    const std::string marker = "=" + std::string(bp::markup::kValueOpen);
    std::size_t from = 0;
    for (;;) {
        const auto eq = text.find(marker, from);
        if (eq == std::string_view::npos) {
            break;
        }
        const auto blank = text.rfind(' ', eq);
        const auto end = text.find(bp::markup::kValueClose, eq + marker.size());
        if (blank == std::string_view::npos || end == std::string_view::npos) {
            break;
        }
        out.emplace_back(std::string(text.substr(blank + 1, eq - blank - 1)),
                         std::string(text.substr(eq + marker.size(), end - eq - marker.size())));
        from = end + bp::markup::kValueClose.size();
    }
    return out;
}

std::vector<std::int32_t> allNotes(bp::CNotesDatabase& db) {
    std::vector<std::int32_t> ids = db.ListNotes(1);
    if (auto bin = db.ListDeletedNotes()) {
        ids.insert(ids.end(), bin->begin(), bin->end());
    }
    // Ids were renumbered in document order when the file was opened.
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return usage();
    }
    const std::string command = argv[1];
    const std::string file = argv[2];

    bp::SystemClock clock;
    NoDesktop desktop;
    bp::CNotesDatabase db(bp::StoreServices{&clock, &desktop, nullptr});
    int problems = 0;
    db.SetProblemSink([&problems](const bp::StoreProblem& problem) {
        std::cerr << problem.caption << ": " << problem.text << "\n";
        ++problems;
    });
    db.SetDatabasePath(file);
    // Opening a missing file would create the default database; a tool must not.
    if (!bp::dbfile::fileExists(file)) {
        std::cerr << "bpdb: no such file: " << file << "\n";
        std::cout << "invalid\n";
        return 1;
    }
    const bool opened = db.OpenDatabase(bp::kOpenReporting);
    if (command == "check") {
        if (!opened) {
            std::cout << "invalid\n";
            return 1;
        }
        std::cout << "valid: " << db.ListNotes(1).size() << " notes, "
                  << db.ListDeletedNotes().value_or(bp::IdList{}).size() << " in the Recycle Bin\n";
        return 0;
    }
    if (!opened) {
        return 1;
    }
    if (command == "list" && argc == 3) {
        for (std::int32_t nid : allNotes(db)) {
            std::cout << nid << "\t" << oneLine(db.GetNote(1, nid, bp::note::title)) << "\t"
                      << db.GetNote(1, nid, bp::note::priority) << "\t"
                      << db.GetNote(1, nid, bp::note::isDeleted) << "\n";
        }
        return problems == 0 ? 0 : 1;
    }
    if (command == "settings" && argc == 3) {
        for (const auto& [name, value] : attributesOf(db.SettingsSection())) {
            std::cout << name << "=" << value << "\n";
        }
        return 0;
    }
    if ((command == "get" && argc == 5) || (command == "set" && argc == 6)) {
        long long nid = 0;
        if (!parseWhole(argv[3], true, nid)) {
            std::cerr << "bpdb: not a note id: " << argv[3] << "\n";
            return 2;
        }
        const std::string attr = argv[4];
        if (command == "get") {
            if (attr == "body") {
                std::string body;
                if (!db.GetNoteBody(1, static_cast<std::int32_t>(nid), body)) {
                    return 1;
                }
                std::cout << body;
                return 0;
            }
            const auto id = static_cast<std::int32_t>(nid);
            // Numbers are shown as the program reads them (times after 2038 included).
            std::string value;
            switch (typeOf(attr)) {
                case bp::AttrType::Int:
                    value = std::to_string(db.GetNoteInt(1, id, attr));
                    break;
                case bp::AttrType::UInt:
                    value = std::to_string(db.GetNoteUInt(1, id, attr));
                    break;
                default:
                    value = db.GetNoteAttribute(1, id, attr);
                    break;
            }
            if (problems != 0) {
                return 1;
            }
            std::cout << value << "\n";
            return 0;
        }
        const std::string value = argv[5];
        const auto id = static_cast<std::int32_t>(nid);
        bool written = false;
        long long number = 0;
        if (attr == "body") {
            written = db.SetNoteBody(id, value);
        } else {
            switch (typeOf(attr)) {
                case bp::AttrType::Text:
                    written = db.SetNoteString(id, value, attr);
                    break;
                case bp::AttrType::Int:
                    if (!parseWhole(value, true, number)) {
                        std::cerr << "bpdb: " << attr << " takes a signed 32-bit number\n";
                        return 2;
                    }
                    written = db.SetNoteInt(id, static_cast<std::int32_t>(number), attr);
                    break;
                case bp::AttrType::UInt:
                    if (!parseWhole(value, false, number)) {
                        std::cerr << "bpdb: " << attr << " takes an unsigned 32-bit number\n";
                        return 2;
                    }
                    written = db.SetNoteUInt(id, static_cast<std::uint32_t>(number), attr);
                    break;
                case bp::AttrType::Font:
                    if (!bp::IsEncodedFont(value)) {
                        std::cerr << "bpdb: " << attr << " takes an 80-character encoded font\n";
                        return 2;
                    }
                    written = db.SetNoteFont(id, bp::DecodeFont(value), attr);
                    break;
            }
        }
        if (!written) {
            return 1;
        }
        if (const auto saved = db.SaveDatabase(""); saved.failed()) {
            std::cerr << "bpdb: could not write \"" << saved.failedPath << "\", error "
                      << saved.cause << "\n";
            return 1;
        }
        return 0;
    }
    if (command == "dump" && argc == 3) {
        std::cout << "[settings]\n";
        for (const auto& [name, value] : attributesOf(db.SettingsSection())) {
            std::cout << "  " << name << " = " << value << "\n";
        }
        for (std::int32_t nid : allNotes(db)) {
            std::cout << "[note " << nid << "]\n";
            std::string body;
            const std::string notes = db.NotesSection();
            // The start tag ends where the body begins.
            const std::string needle = "<note nid=" + std::string(bp::markup::kValueOpen) +
                                       std::to_string(nid) + std::string(bp::markup::kValueClose);
            const auto start = notes.find(needle);
            const auto bodyAt = notes.find(bp::markup::kBodyStart, start);
            for (const auto& [name, value] :
                 attributesOf(std::string_view(notes).substr(start, bodyAt - start))) {
                std::cout << "  " << name << " = " << value << "\n";
            }
            if (db.GetNoteBody(1, nid, body)) {
                std::cout << "  body (" << body.size() << " bytes) = " << oneLine(body) << "\n";
            }
            if (auto fids = db.GetNoteAttachedFiles(1, nid, 5)) {
                for (std::int32_t fid : *fids) {
                    std::string name;
                    db.GetNoteAttachedFilename(1, nid, fid, name);
                    std::cout << "  file " << fid << " type "
                              << db.GetNoteAttachedFiletype(1, nid, fid) << " = " << name << "\n";
                }
            }
        }
        return 0;
    }
    return usage();
}
