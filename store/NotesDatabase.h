#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bp {

// Which database a note read goes to: the open one (locked, failures reported) or the
// file being imported (unlocked, silent except for the body).
enum NoteSource : int { kImportSource = 0, kLiveSource = 1 };

// The ids of a listing, in document order.
using IdList = std::vector<std::int32_t>;

// The one store of notes and settings. The database is held as mark-up text and every
// operation searches and splices it; nothing else in the program touches the text.
class CNotesDatabase {
public:
    explicit CNotesDatabase(Platform platform);
    CNotesDatabase(const CNotesDatabase&) = delete;
    CNotesDatabase& operator=(const CNotesDatabase&) = delete;

    // Lifecycle.
    bool InitDatabase();
    // The data folder; the database is "Brightpost.dat" in it.
    void SetDataFolder(const std::string& folder);
    const std::string& DataFolder() const { return dataFolder_; }
    const std::string& DatabasePath() const { return databasePath_; }
    std::string TemporaryPath() const { return dataFolder_ + "/~tmp.dat"; }

    // mode 0: the normal open, reports a damaged file; mode 10: silent about damage.
    bool OpenDatabase(int mode);
    bool CreateDefaultDatabase(const std::string& path);
    // An empty path saves to the database path through "~tmp.dat" and a rename.
    bool SaveDatabase(const std::string& path);
    bool WriteDatabaseFile(const std::string& text, const std::string& path);
    void RenumberNotes();

    // Backups. kind 2 lists "temp-*.dat", any other kind "copy_*.dat" (full paths).
    std::vector<std::string> ListDatabaseFiles(const std::string& folder, int kind) const;
    bool BackupDatabase();

    // Settings.
    std::string GetSettingAttribute(std::string_view name);
    bool SetSettingAttribute(std::string_view name, const std::string& text);
    int GetSettingInt(std::string_view name);

    // Notes.
    std::string GetNoteAttribute(int source, std::int32_t nid, std::string_view name);
    bool SetNoteAttribute(std::int32_t nid, std::string_view name, const std::string& text);
    int GetNoteInt(int source, std::int32_t nid, std::string_view name);
    IdList ListNotes(int source);

    // The text as last read or saved, and the two live sections (for tools and tests).
    std::string WholeText() const;
    std::string SettingsSection() const;
    std::string NotesSection() const;

    // Decimal text as the store reads numbers: leading blanks, a sign, digits; anything
    // else reads as 0.
    static int ParseInt(std::string_view text);

private:
    struct Split {
        std::string settings;
        std::string notes;
    };
    enum class SplitFailure { None, Root, SettingsStart, SettingsEnd, NotesStart, NotesEnd };
    static SplitFailure SplitText(std::string_view text, bool allowImportRoot, Split& out);

    struct Located {
        long long start = -1;  // of "<note nid=..."
        long long end = -1;    // of the note end marker
    };
    // 0 when found; else the failure point 1 (note) or 2 (note end).
    static int LocateNote(std::string_view section, std::int32_t nid, Located& at);

    void ReportReadError(int point, const char* text);

    Platform platform_;
    std::string dataFolder_;
    std::string databasePath_;

    mutable std::recursive_mutex dataLock_;
    std::mutex saveLock_;

    std::string wholeText_;
    std::string settingsSection_;
    std::string notesSection_;
    std::string importText_;
    std::string importSettingsSection_;
    std::string importNotesSection_;
};

}  // namespace bp
