// A notes section and a sequence of operations, both from the input, run on the store and on
// the plain linear reference: results, messages and bytes must agree.
#include "FuzzSupport.h"
#include "store/LinearReference.h"  // from tests/
#include "store/SettingsByName.h"

#include <array>
#include <string_view>

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int byte() { return at < size ? data[at++] : 0; }
    bool more() const { return at < size; }
};

const char* const kValues[] = {"",
                               "x",
                               "5",
                               "-1",
                               "ends>|",
                               "|<|<|<|<|<",
                               "\r\n<note ",
                               "\r\n<file ",
                               "[]]]]]>>>>>",
                               "\r\n[]]]]]>>>>>\r\n</note>",
                               "<note nid=|<|<|<|<|<2>|>|>|>|>|",
                               "]CDATAEND]!>",
                               "/A"};
const char* const kNames[] = {"title",      "nid",  "isDeleted", "priority",
                              "deleteTime", "name", "missing"};

std::vector<std::string> boxes(bp::CNotesDatabase& db) {
    std::vector<std::string> out;
    for (const auto& b : db.TakeProblems()) {
        out.push_back(b.caption + ": " + b.text);
    }
    return out;
}

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The section is the input up to the first 0xFF byte; the operations follow.
    std::size_t split = 0;
    while (split < size && data[split] != 0xFF) {
        ++split;
    }
    const std::string section =
        "\r\n<notes>\r\n" + std::string(reinterpret_cast<const char*>(data), split);
    if (section.find("\r\n[]]]]]>>>>>\r\n</notes>") != std::string::npos ||
        section.find('\0') != std::string::npos) {
        return 0;
    }
    static bp::fake::FakePlatform fakes;
    static const std::string settings = [] {
        bp::CNotesDatabase db(fakes.platform());
        db.SetDataFolder(bp::fuzz::folder());
        db.CreateDefaultDatabase("");
        return db.SettingsSection();
    }();
    const std::string text = "<Brightpost>\r\n" + settings + "\r\n[]]]]]>>>>>\r\n</settings>\r\n" +
                             section +
                             "\r\n[]]]]]>>>>>\r\n</notes>\r\n\r\n[]]]]]>>>>>\r\n</Brightpost>";
    std::string file(4, '\0');
    for (int i = 0; i < 4; ++i) {
        file[static_cast<std::size_t>(i)] = static_cast<char>((text.size() >> (8 * i)) & 0xFF);
    }
    file += text;
    bp::CNotesDatabase db(fakes.platform());
    db.SetDataFolder(bp::fuzz::folder());
    bp::fuzz::writeBytes(db.DatabasePath(), reinterpret_cast<const std::uint8_t*>(file.data()),
                         file.size());
    check(db.OpenDatabase(0));
    bp::test::LinearReference ref;
    ref.notes = section;
    ref.renumber();
    check(db.NotesSection() == ref.notes);
    std::string copied[14];
    const char* const kCopied[14] = {
        "Width",          "Height",         "border",           "TransLevel",    "titleFontType",
        "titleFontColor", "titleBackColor", "bodyFontType",     "bodyFontColor", "bodyBackColor",
        "priority",       "Transparency",   "defaultImagePath", "links"};
    for (int i = 0; i < 14; ++i) {
        copied[i] = bp::SettingsByName(db).GetSettingAttribute(kCopied[i]);
    }
    boxes(db);

    Input in{data + split, size - split};
    in.byte();
    for (int step = 0; step < 64 && in.more(); ++step) {
        const int op = in.byte() % 14;
        const std::int32_t nid = in.byte() % 8 - 1;
        const std::string name = kNames[in.byte() % std::size(kNames)];
        const std::string value = kValues[in.byte() % std::size(kValues)];
        const int small = in.byte() % 8;
        switch (op) {
            case 0:
                check(db.GetNoteAttribute(1, nid, name) == ref.get(nid, name));
                break;
            case 1:
                check(db.SetNoteAttribute(nid, name, value) == ref.set(nid, name, value));
                break;
            case 2: {
                std::string a = "=", b = "=";
                check(db.GetNoteBody(1, nid, a) == ref.getBody(nid, b) && a == b);
                break;
            }
            case 3:
                check(db.SetNoteBody(nid, value) == ref.setBody(nid, value));
                break;
            case 4:
                check(db.NewNote() == ref.newNote(copied, 1920, 1080));
                break;
            case 5:
                check(db.DeleteNote(nid) == ref.deleteNote(nid));
                break;
            case 6:
                check(db.ListNotes(1) == ref.list());
                check(db.ListDeletedNotes() == ref.listDeleted());
                break;
            case 7:
                check(db.CountNotesByPriority(static_cast<unsigned>(small)) ==
                      ref.count(static_cast<unsigned>(small)));
                break;
            case 8:
                check(db.AttachFileToNote(nid, small % 4, value) ==
                      ref.attach(nid, small % 4, value));
                break;
            case 9:
                check(db.DetachFileFromNote(nid, small) == ref.detach(nid, small));
                break;
            case 10: {
                const int filter = std::array{5, 4, 99, 0, 3, 6, 1, 2}[small];
                check(db.GetNoteAttachedFiles(1, nid, filter) == ref.files(nid, filter));
                break;
            }
            case 11: {
                std::string a = "=", b = "=";
                check(db.GetNoteAttachedFilename(1, nid, small, a) ==
                          ref.fileAttr(nid, small, "name", "GetNoteAttachedFilename", b) &&
                      a == b);
                check(db.GetNoteAttachedFiletype(1, nid, small) == ref.fileType(nid, small));
                break;
            }
            case 12:
                db.RenumberNotes();
                ref.renumber();
                break;
            case 13:
                check(db.GetNoteUInt(1, nid, name) == bp::markup::ParseNumber(ref.get(nid, name)));
                break;
        }
        check(boxes(db) == ref.shown);
        ref.shown.clear();
        check(db.NotesSection() == ref.notes);
    }
    return 0;
}
