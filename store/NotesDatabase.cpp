#include "NotesDatabase.h"

#include "DatabaseFile.h"
#include "DefaultDatabase.h"
#include "Markup.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace bp {

using namespace markup;

namespace {

constexpr const char* kAccessMessage =
    "You do not have access permissions to Brightpost.dat. Please contact your system "
    "administrator.";

// Whatever it is, it is not ours to delete.
std::string notAFileMessage(const std::string& path, std::string_view done) {
    return "\"" + path + "\" is not a file but a named pipe, a device or a socket, so no notes " +
           "can be " + std::string(done) + " from it. Brightpost does not delete it.";
}

}  // namespace

CNotesDatabase::CNotesDatabase(StoreServices services) : services_(services) {}

bool CNotesDatabase::InitDatabase() {
    // The locks are members; there is nothing else to bring up on this platform.
    return true;
}

void CNotesDatabase::SetDataFolder(const std::string& folder) {
    dataFolder_ = folder;
    databasePath_ = folder + "/Brightpost.dat";
}

void CNotesDatabase::SetDatabasePath(const std::string& path) {
    const auto slash = path.rfind('/');
    dataFolder_ = slash == std::string::npos ? "." : (slash == 0 ? "" : path.substr(0, slash));
    databasePath_ = path;
}

int CNotesDatabase::ParseInt(std::string_view text) {
    return static_cast<int>(ParseNumber(text));
}

std::uint32_t CNotesDatabase::ParseUInt(std::string_view text) {
    return ParseNumber(text);
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

void CNotesDatabase::ReportError(LookupFailure point, const char* text) {
    problems_.report({"Error " + std::to_string(static_cast<int>(point)), text});
}

void CNotesDatabase::ReportError(const char* caption, const char* text) {
    problems_.report({caption, text});
}

bool CNotesDatabase::LocateToChange(std::int32_t nid, NoteSection::Location& at,
                                    std::string_view& element, const char* operation) {
    const LookupFailure failure = notesSection_.locate(nid, at, element);
    if (failure == LookupFailure::None) {
        return true;
    }
    // The captions of this message have always been the other way round for the operations
    // that change a note's element as a whole.
    ReportError(failure == LookupFailure::NoNote ? LookupFailure::NoNoteEnd : LookupFailure::NoNote,
                operation);
    return false;
}

bool CNotesDatabase::OpenDatabase(int mode) {
    createdOnOpen_ = false;
    if (!dbfile::fileExists(databasePath_)) {
        createdOnOpen_ = static_cast<bool>(CreateDefaultDatabase(""));
        return createdOnOpen_;
    }
    std::lock_guard lock(dataLock_);
    dbfile::ReadResult read = dbfile::readDatabaseText(databasePath_);
    if (read.status == dbfile::ReadStatus::CannotOpen ||
        read.status == dbfile::ReadStatus::Missing) {
        problems_.report({"Error", kAccessMessage});
        return false;
    }
    if (read.status == dbfile::ReadStatus::NotAFile) {
        problems_.report({"Error", notAFileMessage(databasePath_, "read")});
        return false;
    }
    const bool report = mode != kOpenSilent;
    if (read.status == dbfile::ReadStatus::BadLength) {
        // A length that does not fit the file leaves no text that could be trusted.
        if (report) {
            problems_.report({"Error", "Incorrect Brightpost.dat"});
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
            problems_.report({"Error", kMessages[static_cast<int>(failure)]});
        }
        return false;
    }
    settingsSection_ = std::move(split.settings);
    notesSection_.assign(std::move(split.notes));
    {
        std::lock_guard save(saveLock_);
        wholeText_ = std::move(read.text);
        knownDatabase_ = read.identity;
        wholeTextSaved_ = true;
    }
    RenumberNotes();
    return true;
}

CNotesDatabase::SaveOutcome CNotesDatabase::CreateDefaultDatabase(const std::string& path) {
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
        problems_.report({"Error", kMessages[static_cast<int>(failure)]});
        return {};
    }
    {
        std::lock_guard lock(dataLock_);
        settingsSection_ = std::move(split.settings);
        notesSection_.assign(std::move(split.notes));
        std::lock_guard save(saveLock_);
        wholeText_ = std::move(text);
    }
    return SaveDatabase(path);
}

std::string CNotesDatabase::ComposeText(const std::string& settings, const std::string& notes) {
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
    return text;
}

CNotesDatabase::Sections CNotesDatabase::CopySections() const {
    std::lock_guard lock(dataLock_);
    return {settingsSection_, notesSection_.text()};
}

CNotesDatabase::SaveOutcome CNotesDatabase::SaveDatabase(const std::string& path) {
    const Sections sections = CopySections();
    std::lock_guard save(saveLock_);
    std::string text = ComposeText(sections.settings, sections.notes);
    // Only the save lock is held from here on: taking the data lock again could deadlock
    // against an export, which holds the data lock while it waits for this save to finish.
    wholeText_ = std::move(text);
    wholeTextSaved_ = false;
    SaveOutcome outcome;
    const std::string target = path.empty() ? TemporaryPath() : path;
    if (const int cause = WriteDatabaseFile(wholeText_, target); cause != 0) {
        outcome.cause = cause;
        outcome.failedPath = target;
        return outcome;
    }
    if (path.empty()) {
        const bool kept = KeepReplacedDatabase(outcome.keptAs);
        const bool moved = kept && dbfile::replaceFile(target, databasePath_);
        if (moved) {
            knownDatabase_ = dbfile::identify(databasePath_);
        }
        wholeTextSaved_ = moved;
        outcome.written = moved;
        outcome.keepFailed = !kept;
        if (!moved) {
            // The temporary file was complete, but the database is unchanged.
            outcome.cause = 1;
            outcome.failedPath = databasePath_;
        }
        return outcome;
    }
    if (target == databasePath_) {
        knownDatabase_ = dbfile::identify(databasePath_);
        wholeTextSaved_ = true;
    }
    outcome.written = true;
    return outcome;
}

bool CNotesDatabase::KeepReplacedDatabase(std::string& keptAs) {
    const std::optional<dbfile::FileIdentity> onDisk = dbfile::identify(databasePath_);
    if (!onDisk || onDisk == knownDatabase_) {
        return true;
    }
    const std::string stem =
        dataFolder_ + "/external_" + services_.clock->formatNow("%Y%m%d%H%M%S");
    keptAs = stem + ".dat";
    for (int n = 2; dbfile::identify(keptAs); ++n) {
        keptAs = stem + "-" + std::to_string(n) + ".dat";
    }
    if (!dbfile::moveAside(databasePath_, keptAs)) {
        return false;
    }
    dbfile::makePrivate(keptAs);
    return true;
}

int CNotesDatabase::WriteDatabaseFile(const std::string& text, const std::string& path) {
    const bool inDataFolder =
        dbfile::fileName(path).size() + dataFolder_.size() + 1 == path.size() &&
        path.starts_with(dataFolder_ + "/");
    // A failed write removes what it left half-done; the database is never written in place.
    return path == TemporaryPath() ? dbfile::createDatabaseText(path, text)
                                   : dbfile::writeDatabaseText(path, text, inDataFolder);
}

CNotesDatabase::ChangesSaved CNotesDatabase::SaveChanges() {
    {
        const Sections sections = CopySections();
        std::lock_guard save(saveLock_);
        if (wholeTextSaved_ && ComposeText(sections.settings, sections.notes) == wholeText_) {
            return {};
        }
    }
    return SaveDatabase("");
}

void CNotesDatabase::RequestSave(SaveUrgency urgency) {
    std::function<void(SaveUrgency)> handler;
    {
        std::lock_guard lock(dataLock_);
        handler = saveHandler_;
    }
    if (handler) {
        handler(urgency);
    } else {
        SaveDatabase("");
    }
}

void CNotesDatabase::SetSaveHandler(std::function<void(SaveUrgency)> handler) {
    std::lock_guard lock(dataLock_);
    saveHandler_ = std::move(handler);
}

void CNotesDatabase::SetChangeListener(std::function<void()> listener) {
    std::lock_guard lock(dataLock_);
    changeListener_ = std::move(listener);
}

void CNotesDatabase::NotifyChange() {
    if (changeListener_) {
        changeListener_();
    }
}

void CNotesDatabase::RenumberNotes() {
    std::lock_guard lock(dataLock_);
    notesSection_.renumber();
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
    const std::string stamp = services_.clock->formatNow("%Y%m%d%H%M%S");
    const std::string backup = dataFolder_ + "/copy_Brightpost_" + stamp + ".dat";
    if (!dbfile::copyFile(databasePath_, backup)) {
        return false;
    }
    std::vector<std::string> entries = ListDatabaseFiles(dataFolder_, 1);
    const long long n = static_cast<long long>(entries.size());
    const long long max = setting::get(*this, setting::backupMax);
    if (n > max) {
        long long m = std::count_if(entries.begin(), entries.end(),
                                    [](const std::string& p) { return isManagedBackup(p); });
        for (long long round = 0; round < n && m > max && !entries.empty(); ++round) {
            auto oldest = std::min_element(entries.begin(), entries.end());
            // A name from a clock set ahead sorts after it, but the backup just taken stays.
            if (*oldest != backup && isManagedBackup(*oldest) && dbfile::fileExists(*oldest)) {
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

// ---- Settings ------------------------------------------------------------------------------

std::string CNotesDatabase::ReadSetting(std::string_view name) {
    std::lock_guard lock(dataLock_);
    std::string value;
    switch (ReadAttribute(settingsSection_, name, value)) {
        case AttributeFailure::None:
            return value;
        case AttributeFailure::Missing:
            ReportError(LookupFailure::NoPart, "Error while reading settings");
            return {};
        case AttributeFailure::NoTerminator:
            ReportError(LookupFailure::NoPartEnd, "Error while reading settings");
            return {};
    }
    return {};
}

std::string CNotesDatabase::GetSettingAttribute(std::string_view name) {
    return ReadSetting(name);
}

bool CNotesDatabase::SetSettingAttribute(std::string_view name, const std::string& text) {
    std::lock_guard lock(dataLock_);
    std::string updated = settingsSection_;
    switch (WriteAttribute(updated, name, text)) {
        case AttributeFailure::None:
            if (updated != settingsSection_) {
                settingsSection_ = std::move(updated);
                NotifyChange();
            }
            return true;
        case AttributeFailure::Missing:
            ReportError(LookupFailure::NoPart, "Not able to set the settings attribute");
            return false;
        case AttributeFailure::NoTerminator:
            ReportError(LookupFailure::NoPartEnd, "Not able to set the settings attribute");
            return false;
    }
    return false;
}

std::optional<std::string> CNotesDatabase::GetSettingExtra(std::string_view name) {
    std::lock_guard lock(dataLock_);
    std::string value;
    if (ReadAttribute(settingsSection_, name, value) != AttributeFailure::None) {
        return std::nullopt;
    }
    return value;
}

bool CNotesDatabase::SetSettingExtra(std::string_view name,
                                     const std::optional<std::string>& text) {
    std::lock_guard lock(dataLock_);
    std::string updated = settingsSection_;
    if (const std::size_t old = updated.find(AttributeNeedle(name)); old != std::string::npos) {
        const std::size_t close = updated.find(kValueClose, old);
        if (close == std::string::npos) {
            return false;
        }
        updated.erase(old, close + kValueClose.size() - old);
    }
    if (text) {
        // After the last of the settings every database has, so that the ones before keep
        // their places.
        const std::size_t last = updated.find(AttributeNeedle(kSettings.back().name));
        const std::size_t close =
            last == std::string::npos ? last : updated.find(kValueClose, last);
        if (close == std::string::npos) {
            return false;
        }
        std::string value = *text;
        EscapeReservedTokens(value);
        updated.insert(close + kValueClose.size(), AttributeText(name, value));
    }
    if (updated != settingsSection_) {
        settingsSection_ = std::move(updated);
        NotifyChange();
    }
    return true;
}

std::string CNotesDatabase::GetSettingString(std::string_view name) {
    return ReadSetting(name);
}

int CNotesDatabase::GetSettingInt(std::string_view name) {
    return withinSettingRange(name, ParseInt(ReadSetting(name)));
}

std::uint32_t CNotesDatabase::GetSettingUInt(std::string_view name) {
    return ParseUInt(ReadSetting(name));
}

LogFont CNotesDatabase::GetSettingFont(std::string_view name) {
    return DecodeFont(ReadSetting(name));
}

bool CNotesDatabase::SetSettingString(const std::string& text, std::string_view name) {
    return SetSettingAttribute(name, text);
}

bool CNotesDatabase::SetSettingInt(std::int32_t value, std::string_view name) {
    return SetSettingAttribute(name, std::to_string(value));
}

bool CNotesDatabase::SetSettingUInt(std::uint32_t value, std::string_view name) {
    return SetSettingInt(static_cast<std::int32_t>(value), name);
}

bool CNotesDatabase::SetSettingFont(const LogFont& font, std::string_view name) {
    return SetSettingAttribute(name, EncodeFont(font));
}

void CNotesDatabase::GetDefaultPriorityName(std::string& out) {
    static constexpr const char* kNames[] = {"Low", "Regular", "High"};
    const int priority = setting::get(*this, setting::priority);
    if (priority >= 0 && priority <= 2) {
        out = kNames[priority];
    }
}

void CNotesDatabase::GetShowNotesModeName(std::string& out) {
    static constexpr const char* kNames[] = {"Remember notes' state", "Show all notes",
                                             "Hide all notes"};
    const int mode = setting::get(*this, setting::showNotesMode);
    if (mode >= 0 && mode <= 2) {
        out = kNames[mode];
    }
}

// ---- Notes ---------------------------------------------------------------------------------

std::string CNotesDatabase::ReadNote(int source, std::int32_t nid, std::string_view name) {
    const bool live = source != kImportSource;
    std::unique_lock<std::recursive_mutex> lock(dataLock_, std::defer_lock);
    if (live) {
        lock.lock();
    }
    NoteSection::Location at;
    std::string_view element;
    LookupFailure failure = SectionOf(source).locate(nid, at, element);
    std::string value;
    if (failure == LookupFailure::None) {
        switch (ReadAttribute(element, name, value)) {
            case AttributeFailure::None:
                return value;
            case AttributeFailure::Missing:
                failure = LookupFailure::NoPart;
                break;
            case AttributeFailure::NoTerminator:
                failure = LookupFailure::NoPartEnd;
                break;
        }
    }
    if (live) {
        ReportError(failure, "Error while reading notes");
    }
    return {};
}

std::string CNotesDatabase::GetNoteAttribute(int source, std::int32_t nid, std::string_view name) {
    return ReadNote(source, nid, name);
}

bool CNotesDatabase::SetNoteAttribute(std::int32_t nid, std::string_view name,
                                      const std::string& text) {
    std::lock_guard lock(dataLock_);
    NoteSection::Location at;
    std::string_view found;
    LookupFailure failure = notesSection_.locate(nid, at, found);
    if (failure == LookupFailure::None) {
        std::string element(found);
        switch (WriteAttribute(element, name, text)) {
            case AttributeFailure::None:
                if (element != found) {
                    notesSection_.replaceElement(at, element);
                    NotifyChange();
                }
                return true;
            case AttributeFailure::Missing:
                failure = LookupFailure::NoPart;
                break;
            case AttributeFailure::NoTerminator:
                failure = LookupFailure::NoPartEnd;
                break;
        }
    }
    ReportError(failure, "Not able to set the note attribute");
    return false;
}

namespace {

// The attributes of a note element end where its body begins; searched beyond, a body that
// quotes an attribute would be read as one.
std::string_view attributesOf(std::string_view element) {
    const std::size_t body = element.find(kBodyStart);
    return body == std::string_view::npos ? std::string_view{} : element.substr(0, body);
}

}  // namespace

std::optional<std::string> CNotesDatabase::GetNoteExtra(std::int32_t nid, std::string_view name) {
    std::lock_guard lock(dataLock_);
    NoteSection::Location at;
    std::string_view element;
    std::string value;
    if (notesSection_.locate(nid, at, element) != LookupFailure::None ||
        ReadAttribute(attributesOf(element), name, value) != AttributeFailure::None) {
        return std::nullopt;
    }
    return value;
}

bool CNotesDatabase::SetNoteExtra(std::int32_t nid, std::string_view name,
                                  const std::optional<std::string>& text) {
    std::lock_guard lock(dataLock_);
    NoteSection::Location at;
    std::string_view found;
    if (notesSection_.locate(nid, at, found) != LookupFailure::None) {
        return false;
    }
    std::string element(found);
    std::string_view attributes = attributesOf(element);
    if (const std::size_t old = attributes.find(AttributeNeedle(name));
        old != std::string_view::npos) {
        const std::size_t close = attributes.find(kValueClose, old);
        if (close == std::string_view::npos) {
            return false;
        }
        element.erase(old, close + kValueClose.size() - old);
        attributes = attributesOf(element);
    }
    if (text) {
        // After the last of the attributes every note has.
        const std::size_t last = attributes.find(AttributeNeedle(kNoteAttributes.back().name));
        const std::size_t close =
            last == std::string_view::npos ? last : attributes.find(kValueClose, last);
        if (close == std::string_view::npos) {
            return false;
        }
        std::string value = *text;
        EscapeReservedTokens(value);
        element.insert(close + kValueClose.size(), AttributeText(name, value));
    }
    if (element != found) {
        notesSection_.replaceElement(at, element);
        NotifyChange();
    }
    return true;
}

std::string CNotesDatabase::GetNoteString(int source, std::int32_t nid, std::string_view name) {
    return ReadNote(source, nid, name);
}

int CNotesDatabase::GetNoteInt(int source, std::int32_t nid, std::string_view name) {
    return ParseInt(ReadNote(source, nid, name));
}

std::uint32_t CNotesDatabase::GetNoteUInt(int source, std::int32_t nid, std::string_view name) {
    return ParseUInt(ReadNote(source, nid, name));
}

LogFont CNotesDatabase::GetNoteFont(int source, std::int32_t nid, std::string_view name) {
    return DecodeFont(ReadNote(source, nid, name));
}

bool CNotesDatabase::SetNoteString(std::int32_t nid, const std::string& text,
                                   std::string_view name) {
    return SetNoteAttribute(nid, name, text);
}

bool CNotesDatabase::SetNoteInt(std::int32_t nid, std::int32_t value, std::string_view name) {
    return SetNoteAttribute(nid, name, std::to_string(value));
}

bool CNotesDatabase::SetNoteUInt(std::int32_t nid, std::uint32_t value, std::string_view name) {
    return SetNoteInt(nid, static_cast<std::int32_t>(value), name);
}

bool CNotesDatabase::SetNoteFont(std::int32_t nid, const LogFont& font, std::string_view name) {
    return SetNoteAttribute(nid, name, EncodeFont(font));
}

bool CNotesDatabase::CopyNoteAttribute(int source, std::int32_t from, std::int32_t to,
                                       const NoteAttribute& attribute) {
    const std::string_view name = attribute.name;
    switch (attribute.type) {
        case AttrType::Int:
            return SetNoteInt(to, GetNoteInt(source, from, name), name);
        case AttrType::UInt:
            return SetNoteUInt(to, GetNoteUInt(source, from, name), name);
        case AttrType::Text:
            return SetNoteString(to, GetNoteString(source, from, name), name);
        case AttrType::Font:
            return SetNoteFont(to, GetNoteFont(source, from, name), name);
    }
    return false;
}

namespace {

// Where a note's body lies: its element, and in it the body start n and the body end m.
struct BodyLocation {
    NoteSection::Location at;
    std::string_view element;
    long long n = 0;
    long long m = 0;
};

// None when found, else where it stopped: the note, its end, the body start or the body end.
LookupFailure locateBody(const NoteSection& section, std::int32_t nid, BodyLocation& body) {
    if (const LookupFailure failure = section.locate(nid, body.at, body.element);
        failure != LookupFailure::None) {
        return failure;
    }
    body.n = Find(body.element, kBodyStart, 0);
    if (body.n <= 0) {
        return LookupFailure::NoPart;
    }
    body.m = Find(body.element, kBodyEnd, body.n);
    if (body.m <= 0) {
        return LookupFailure::NoPartEnd;
    }
    return LookupFailure::None;
}

}  // namespace

bool CNotesDatabase::GetNoteBody(int source, std::int32_t nid, std::string& out) {
    const bool live = source != kImportSource;
    std::unique_lock<std::recursive_mutex> lock(dataLock_, std::defer_lock);
    if (live) {
        lock.lock();
    }
    BodyLocation body;
    if (const LookupFailure failure = locateBody(SectionOf(source), nid, body);
        failure != LookupFailure::None) {
        // The body is the one read of the import buffer that reports its failure.
        ReportError(failure, "Error while reading note data");
        return false;
    }
    const long long from = body.n + static_cast<long long>(kBodyStart.size());
    out = Extract(body.element, from, body.m - from);
    return true;
}

bool CNotesDatabase::SetNoteBody(std::int32_t nid, const std::string& text) {
    std::lock_guard lock(dataLock_);
    BodyLocation body;
    if (const LookupFailure failure = locateBody(notesSection_, nid, body);
        failure != LookupFailure::None) {
        ReportError(failure, "Not able to set the note body");
        return false;
    }
    std::string escaped = text;
    EscapeReservedTokens(escaped);
    std::string element;
    element.reserve(body.element.size() + escaped.size() + 4);
    element.append(body.element.substr(0, static_cast<std::size_t>(body.n)));
    element.append(kBodyStart);
    element.append(escaped);
    element.append("\r\n");
    element.append(body.element.substr(static_cast<std::size_t>(body.m)));
    if (element != body.element) {
        notesSection_.replaceElement(body.at, element);
        NotifyChange();
    }
    return true;
}

std::int32_t CNotesDatabase::NewNote() {
    std::lock_guard lock(dataLock_);
    std::uint32_t largest = 0;
    notesSection_.forEachSummary([&](const NoteSection::Summary& s) {
        if (s.hasNid) {
            largest = std::max(largest, static_cast<std::uint32_t>(s.nid));
        }
    });
    const auto nid = static_cast<std::int32_t>(largest + 1);

    // The settings are read in table order, before the position that depends on them.
    std::array<std::string, kNoteAttributes.size()> values;
    for (std::size_t i = 0; i < kNoteAttributes.size(); ++i) {
        const NoteAttribute& attribute = kNoteAttributes[i];
        if (attribute.newFrom == NewFrom::Setting) {
            values[i] = ReadSetting(attribute.newValue);
        } else if (attribute.newFrom == NewFrom::Value) {
            values[i] = attribute.newValue;
        }
    }
    constexpr std::size_t kWidth = NoteAttributeIndex(note::Width.name);
    constexpr std::size_t kHeight = NoteAttributeIndex(note::Height.name);

    // Rows of 40 pixels down the screen, then a step to the right for every full column.
    const Rect screen = services_.desktop->screenRect();
    const long long w = ParseInt(values[kWidth]);
    const long long h = ParseInt(values[kHeight]);
    const long long rows = (static_cast<long long>(screen.height) - h) / 40;
    long long x = 0;
    long long y = 0;
    if (rows > 0) {
        const long long q = nid / rows;
        const long long r = nid % rows;
        x = (q + 1) * 100 + r * 15;
        y = r * 40;
    } else {
        // The screen is lower than a note plus one step: every note starts at the top.
        x = (static_cast<long long>(nid) + 1) * 100;
    }
    const long long room = static_cast<long long>(screen.width) - w;
    if (x > room) {
        // Past the right edge: wrap round so the note stays on the screen.
        x = room > 0 ? x % (room + 1) : 0;
    }
    x = std::max(0LL, x);
    y = std::max(0LL, y);

    values[NoteAttributeIndex(note::nid.name)] = std::to_string(nid);
    values[NoteAttributeIndex(note::xPos.name)] = std::to_string(x);
    values[NoteAttributeIndex(note::yPos.name)] = std::to_string(y);
    std::string element = "\r\n<note";
    for (std::size_t i = 0; i < kNoteAttributes.size(); ++i) {
        element += AttributeText(kNoteAttributes[i].name, values[i]);
    }
    element += ">\r\n";
    element += kBodyStart;
    element += kBodyEnd;
    element += kNoteEnd;
    notesSection_.append(element);
    NotifyChange();
    return nid;
}

bool CNotesDatabase::DeleteNote(std::int32_t nid) {
    std::lock_guard lock(dataLock_);
    NoteSection::Location at;
    std::string_view element;
    if (!LocateToChange(nid, at, element, "DeleteNote")) {
        return false;
    }
    notesSection_.removeNote(at);
    NotifyChange();
    return true;
}

void CNotesDatabase::SetNoteDeleted(std::int32_t nid, int flag) {
    if (flag == 1) {
        // Each round removes one note for good, so the purge ends; it also ends when a
        // removal fails or no note can be chosen.
        for (;;) {
            const std::optional<IdList> bin = ListDeletedNotes();
            if (!bin) {
                break;
            }
            if (static_cast<long long>(bin->size()) < setting::get(*this, setting::deleteMax)) {
                break;
            }
            std::uint32_t oldest = UINT32_MAX;
            std::optional<std::int32_t> victim;
            for (std::int32_t id : *bin) {
                const std::uint32_t t = GetNote(kLiveSource, id, note::deleteTime);
                if (t < oldest) {
                    oldest = t;
                    victim = id;
                }
            }
            if (!victim || !DeleteNote(*victim)) {
                break;
            }
        }
    }
    SetNote(nid, static_cast<std::uint32_t>(services_.clock->now()), note::deleteTime);
    SetNote(nid, flag, note::isDeleted);
}

IdList CNotesDatabase::ListNotes(int source) {
    const bool live = source != kImportSource;
    std::unique_lock<std::recursive_mutex> lock(dataLock_, std::defer_lock);
    if (live) {
        lock.lock();
    }
    IdList ids;
    SectionOf(source).forEachSummary([&](const NoteSection::Summary& s) {
        if (s.notDeleted && s.hasNid) {
            ids.push_back(s.nid);
        }
    });
    return ids;
}

std::optional<IdList> CNotesDatabase::ListDeletedNotes() {
    std::lock_guard lock(dataLock_);
    IdList ids;
    notesSection_.forEachNidElementSummary([&](const NoteSection::Summary& s) {
        if (s.deleted && s.hasNid) {
            ids.push_back(s.nid);
        }
    });
    if (ids.empty()) {
        return std::nullopt;
    }
    return ids;
}

int CNotesDatabase::CountNotesByPriority(unsigned priority) {
    std::lock_guard lock(dataLock_);
    int count = 0;
    notesSection_.forEachSummary([&](const NoteSection::Summary& s) {
        if (s.notDeleted && (priority > 2 || s.priority[priority])) {
            ++count;
        }
    });
    return count;
}

// ---- Import and export ---------------------------------------------------------------------

CNotesDatabase::SaveOutcome CNotesDatabase::ExportDatabase(const std::string& path) {
    std::lock_guard lock(dataLock_);
    return SaveDatabase(path);
}

std::optional<IdList> CNotesDatabase::LoadImportFile(const std::string& path) {
    static constexpr const char* kMessages[] = {
        "",
        "Wrong dat file format.",
        "Wrong dat file format. Settings not found.",
        "Wrong dat file format. Settings END not found.",
        "Wrong dat file format. Notes not found.",
        "Wrong dat file format. Notes END not found.",
    };
    importText_.clear();
    importSettingsSection_.clear();
    importNotes_.clear();
    dbfile::ReadResult read = dbfile::readDatabaseText(path);
    switch (read.status) {
        case dbfile::ReadStatus::Missing:
            ReportError("Error", "File not found!");
            return std::nullopt;
        case dbfile::ReadStatus::CannotOpen:
            ReportError("Error",
                        "You do not have access permissions to dat file. Please contact your "
                        "system administrator.");
            return std::nullopt;
        case dbfile::ReadStatus::NotAFile:
            ReportError("Error", notAFileMessage(path, "imported").c_str());
            return std::nullopt;
        case dbfile::ReadStatus::BadLength:
            // A length that does not fit the file: nothing in it can be trusted.
            ReportError("Error", kMessages[1]);
            return std::nullopt;
        case dbfile::ReadStatus::Ok:
            break;
    }
    Split split;
    const SplitFailure failure = SplitText(read.text, true, split);
    if (failure != SplitFailure::None) {
        ReportError("Error", kMessages[static_cast<int>(failure)]);
        return std::nullopt;
    }
    importText_ = std::move(read.text);
    importSettingsSection_ = std::move(split.settings);
    importNotes_.assign(std::move(split.notes));
    return ListNotes(kImportSource);
}

// ---- Inspection ----------------------------------------------------------------------------

std::string CNotesDatabase::WholeText() const {
    std::lock_guard save(saveLock_);
    return wholeText_;
}

std::string CNotesDatabase::SettingsSection() const {
    std::lock_guard lock(dataLock_);
    return settingsSection_;
}

std::string CNotesDatabase::NotesSection() const {
    std::lock_guard lock(dataLock_);
    return notesSection_.text();
}

void CNotesDatabase::SetIndexing(bool enabled) {
    std::lock_guard lock(dataLock_);
    notesSection_.setIndexing(enabled);
    importNotes_.setIndexing(enabled);
}

bool CNotesDatabase::NotesIndexed() const {
    std::lock_guard lock(dataLock_);
    return notesSection_.indexed();
}

}  // namespace bp
