#include "NotesDatabase.h"

#include "DatabaseFile.h"
#include "DefaultDatabase.h"
#include "Markup.h"

#include <algorithm>
#include <climits>

namespace bp {

using namespace markup;

namespace {

constexpr const char* kAccessMessage =
    "You do not have access permissions to Brightpost.dat. Please contact your system "
    "administrator.";

std::string noteNeedle(std::int32_t nid) {
    return "<note nid=" + std::string(kValueOpen) + std::to_string(nid) + std::string(kValueClose);
}

// The nid of an element, read from " nid=" up to the next terminator.
bool readNid(std::string_view element, std::int32_t& nid) {
    std::string value;
    if (ReadAttribute(element, "nid", value) != AttributeFailure::None) {
        return false;
    }
    nid = CNotesDatabase::ParseInt(value);
    return true;
}

// Calls visit(start, end) for every note element of a section, in document order. The scan
// jumps from a note's start to its end, so it never looks inside an element.
template <typename Visit>
void scanNotes(std::string_view section, Visit&& visit) {
    long long from = 2;
    for (;;) {
        const long long s = Find(section, kNoteStart, from);
        if (s <= from) {
            return;
        }
        const long long e = Find(section, kNoteEnd, s);
        if (e <= s) {
            return;
        }
        visit(s, e);
        from = e;
    }
}

}  // namespace

CNotesDatabase::CNotesDatabase(Platform platform) : platform_(platform) {}

bool CNotesDatabase::InitDatabase() {
    // The locks are members; there is nothing else to bring up on this platform.
    return true;
}

void CNotesDatabase::SetDataFolder(const std::string& folder) {
    dataFolder_ = folder;
    databasePath_ = folder + "/Brightpost.dat";
}

int CNotesDatabase::ParseInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(UINT_MAX)) {
            return 0;
        }
    }
    value = negative ? -value : value;
    // Wraps like a 32-bit store, so values written as unsigned read back alike.
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

CNotesDatabase::SplitFailure CNotesDatabase::SplitText(std::string_view text, bool allowImportRoot,
                                                       Split& out) {
    if (Find(text, kRootStart, 0) != 0 &&
        !(allowImportRoot && Find(text, kImportRootStart, 0) == 0)) {
        return SplitFailure::Root;
    }
    const long long s1 = Find(text, kSettingsStart, 0);
    if (s1 <= 0) {
        return SplitFailure::SettingsStart;
    }
    const long long e1 = Find(text, kSettingsEnd, s1);
    if (e1 <= s1) {
        return SplitFailure::SettingsEnd;
    }
    const long long s2 = Find(text, kNotesStart, e1);
    if (s2 <= e1) {
        return SplitFailure::NotesStart;
    }
    const long long e2 = Find(text, kNotesEnd, s2);
    if (e2 <= s2) {
        return SplitFailure::NotesEnd;
    }
    out.settings = Extract(text, s1, e1 - s1);
    out.notes = Extract(text, s2, e2 - s2);
    return SplitFailure::None;
}

int CNotesDatabase::LocateNote(std::string_view section, std::int32_t nid, Located& at) {
    at.start = Find(section, noteNeedle(nid), 0);
    if (at.start <= 0) {
        return 1;
    }
    at.end = Find(section, kNoteEnd, at.start);
    if (at.end <= at.start) {
        return 2;
    }
    return 0;
}

void CNotesDatabase::ReportReadError(int point, const char* text) {
    platform_.messages->standardError("Error " + std::to_string(point), text);
}

bool CNotesDatabase::OpenDatabase(int mode) {
    if (!dbfile::fileExists(databasePath_)) {
        return CreateDefaultDatabase("");
    }
    std::lock_guard lock(dataLock_);
    dbfile::ReadResult read = dbfile::readDatabaseText(databasePath_);
    if (read.status == dbfile::ReadStatus::CannotOpen ||
        read.status == dbfile::ReadStatus::Missing) {
        platform_.messages->standardError("Error", kAccessMessage);
        return false;
    }
    const bool report = mode != 10;
    if (read.status == dbfile::ReadStatus::BadLength) {
        // A length that does not fit the file leaves no text that could be trusted.
        if (report) {
            platform_.messages->standardError("Error", "Incorrect Brightpost.dat");
        }
        return false;
    }
    Split split;
    const SplitFailure failure = SplitText(read.text, false, split);
    if (failure != SplitFailure::None) {
        if (report) {
            static constexpr const char* kMessages[] = {
                "",
                "Incorrect Brightpost.dat",
                "Error 20. Error while reading Brightpost.dat.",
                "Error 21. Error while reading Brightpost.dat.",
                "Error 24. Error while reading Brightpost.dat.",
                "Error 23. Error while reading Brightpost.dat.",
            };
            platform_.messages->standardError("Error", kMessages[static_cast<int>(failure)]);
        }
        return false;
    }
    wholeText_ = std::move(read.text);
    settingsSection_ = std::move(split.settings);
    notesSection_ = std::move(split.notes);
    RenumberNotes();
    return true;
}

bool CNotesDatabase::CreateDefaultDatabase(const std::string& path) {
    std::string text = BuildDefaultDatabaseText();
    Split split;
    const SplitFailure failure = SplitText(text, false, split);
    if (failure != SplitFailure::None) {
        static constexpr const char* kMessages[] = {
            "",
            "Error 0. Error in Brightpost.dat",
            "Error 27. Error while reading Brightpost.dat",
            "Error 28. Error while reading Brightpost.dat",
            "Error 31. Error while reading Brightpost.dat",
            "Error 30. Error while reading Brightpost.dat",
        };
        platform_.messages->standardError("Error", kMessages[static_cast<int>(failure)]);
        return false;
    }
    {
        std::lock_guard lock(dataLock_);
        wholeText_ = std::move(text);
        settingsSection_ = std::move(split.settings);
        notesSection_ = std::move(split.notes);
    }
    return SaveDatabase(path);
}

bool CNotesDatabase::SaveDatabase(const std::string& path) {
    std::string settings;
    std::string notes;
    {
        std::lock_guard lock(dataLock_);
        settings = settingsSection_;
        notes = notesSection_;
    }
    std::lock_guard save(saveLock_);
    std::string text;
    text.reserve(settings.size() + notes.size() + 128);
    text += kRootStart;
    text += settings;
    text += kSettingsEnd;
    text += "\r\n";
    text += notes;
    text += kNotesEnd;
    text += "\r\n";
    text += kRootEnd;
    {
        std::lock_guard lock(dataLock_);
        wholeText_ = text;
    }
    const std::string target = path.empty() ? TemporaryPath() : path;
    if (!WriteDatabaseFile(text, target)) {
        return false;
    }
    if (path.empty()) {
        return dbfile::replaceFile(target, databasePath_);
    }
    return true;
}

bool CNotesDatabase::WriteDatabaseFile(const std::string& text, const std::string& path) {
    const bool inDataFolder =
        dbfile::fileName(path).size() + dataFolder_.size() + 1 == path.size() &&
        path.starts_with(dataFolder_ + "/");
    const int cause = dbfile::writeDatabaseText(path, text, inDataFolder);
    if (cause == 0) {
        return true;
    }
    // A half-written file is worth nothing; the database itself is never written in place.
    dbfile::removeFile(path);
    platform_.messages->showMessage(
        "Error", "", "Could not open file \"" + path + "\", open error " + std::to_string(cause),
        205);
    return false;
}

void CNotesDatabase::RenumberNotes() {
    std::lock_guard lock(dataLock_);
    std::int32_t counter = 0;
    long long from = 2;
    for (;;) {
        const long long s = Find(notesSection_, kNoteStart, from);
        if (s <= from) {
            break;
        }
        const long long e = Find(notesSection_, kNoteEnd, s);
        if (e <= s) {
            break;
        }
        std::string element = Extract(notesSection_, s, e - s);
        if (WriteAttribute(element, "nid", std::to_string(counter + 1)) == AttributeFailure::None) {
            ++counter;
            Remove(notesSection_, s, e - s);
            InsertAt(notesSection_, s, element);
            from = s + static_cast<long long>(element.size());
        } else {
            from = e;
        }
    }
}

std::vector<std::string> CNotesDatabase::ListDatabaseFiles(const std::string& folder,
                                                           int kind) const {
    if (kind == 2) {
        return dbfile::listMatching(folder, "temp-", ".dat");
    }
    return dbfile::listMatching(folder, "copy_", ".dat");
}

namespace {

bool isManagedBackup(std::string_view path) {
    const std::string_view name = dbfile::fileName(path);
    return name.size() >= 22 && name.substr(0, 16) == "copy_Brightpost_";
}

}  // namespace

bool CNotesDatabase::BackupDatabase() {
    const std::string stamp = platform_.clock->formatNow("%Y%m%d%H%M%S");
    const std::string backup = dataFolder_ + "/copy_Brightpost_" + stamp + ".dat";
    if (!dbfile::copyFile(databasePath_, backup)) {
        return false;
    }
    std::vector<std::string> entries = ListDatabaseFiles(dataFolder_, 1);
    const long long n = static_cast<long long>(entries.size());
    const long long max = GetSettingInt("backupMax");
    if (n > max) {
        long long m = std::count_if(entries.begin(), entries.end(),
                                    [](const std::string& p) { return isManagedBackup(p); });
        for (long long round = 0; round < n && m > max && !entries.empty(); ++round) {
            auto oldest = std::min_element(entries.begin(), entries.end());
            if (isManagedBackup(*oldest) && dbfile::fileExists(*oldest)) {
                dbfile::removeFile(*oldest);
                --m;
            }
            entries.erase(oldest);
        }
    }
    for (const std::string& temp : ListDatabaseFiles(dataFolder_, 2)) {
        const std::string_view name = dbfile::fileName(temp);
        if (name.size() == 19 && name.starts_with("temp-") && dbfile::fileExists(temp)) {
            dbfile::removeFile(temp);
        }
    }
    return true;
}

std::string CNotesDatabase::GetSettingAttribute(std::string_view name) {
    std::lock_guard lock(dataLock_);
    std::string value;
    switch (ReadAttribute(settingsSection_, name, value)) {
        case AttributeFailure::None:
            return value;
        case AttributeFailure::Missing:
            ReportReadError(3, "Error while reading settings");
            return {};
        case AttributeFailure::NoTerminator:
            ReportReadError(4, "Error while reading settings");
            return {};
    }
    return {};
}

bool CNotesDatabase::SetSettingAttribute(std::string_view name, const std::string& text) {
    std::lock_guard lock(dataLock_);
    switch (WriteAttribute(settingsSection_, name, text)) {
        case AttributeFailure::None:
            return true;
        case AttributeFailure::Missing:
            ReportReadError(3, "Not able to set the settings attribute");
            return false;
        case AttributeFailure::NoTerminator:
            ReportReadError(4, "Not able to set the settings attribute");
            return false;
    }
    return false;
}

int CNotesDatabase::GetSettingInt(std::string_view name) {
    return ParseInt(GetSettingAttribute(name));
}

std::string CNotesDatabase::GetNoteAttribute(int source, std::int32_t nid, std::string_view name) {
    const bool live = source != kImportSource;
    std::unique_lock<std::recursive_mutex> lock(dataLock_, std::defer_lock);
    if (live) {
        lock.lock();
    }
    const std::string& section = live ? notesSection_ : importNotesSection_;
    Located at;
    int failure = LocateNote(section, nid, at);
    std::string value;
    if (failure == 0) {
        const std::string element = Extract(section, at.start, at.end - at.start);
        switch (ReadAttribute(element, name, value)) {
            case AttributeFailure::None:
                return value;
            case AttributeFailure::Missing:
                failure = 3;
                break;
            case AttributeFailure::NoTerminator:
                failure = 4;
                break;
        }
    }
    if (live) {
        ReportReadError(failure, "Error while reading notes");
    }
    return {};
}

bool CNotesDatabase::SetNoteAttribute(std::int32_t nid, std::string_view name,
                                      const std::string& text) {
    std::lock_guard lock(dataLock_);
    Located at;
    int failure = LocateNote(notesSection_, nid, at);
    if (failure == 0) {
        std::string element = Extract(notesSection_, at.start, at.end - at.start);
        switch (WriteAttribute(element, name, text)) {
            case AttributeFailure::None:
                Remove(notesSection_, at.start, at.end - at.start);
                InsertAt(notesSection_, at.start, element);
                return true;
            case AttributeFailure::Missing:
                failure = 3;
                break;
            case AttributeFailure::NoTerminator:
                failure = 4;
                break;
        }
    }
    ReportReadError(failure, "Not able to set the note attribute");
    return false;
}

int CNotesDatabase::GetNoteInt(int source, std::int32_t nid, std::string_view name) {
    return ParseInt(GetNoteAttribute(source, nid, name));
}

IdList CNotesDatabase::ListNotes(int source) {
    const bool live = source != kImportSource;
    std::unique_lock<std::recursive_mutex> lock(dataLock_, std::defer_lock);
    if (live) {
        lock.lock();
    }
    const std::string& section = live ? notesSection_ : importNotesSection_;
    static const std::string kNotDeleted = AttributeText("isDeleted", "0");
    IdList ids;
    scanNotes(section, [&](long long s, long long e) {
        const std::string_view element(section.data() + s, static_cast<std::size_t>(e - s));
        std::int32_t nid = 0;
        if (element.find(kNotDeleted) != std::string_view::npos && readNid(element, nid)) {
            ids.push_back(nid);
        }
    });
    return ids;
}

std::string CNotesDatabase::WholeText() const {
    std::lock_guard lock(dataLock_);
    return wholeText_;
}

std::string CNotesDatabase::SettingsSection() const {
    std::lock_guard lock(dataLock_);
    return settingsSection_;
}

std::string CNotesDatabase::NotesSection() const {
    std::lock_guard lock(dataLock_);
    return notesSection_;
}

}  // namespace bp
