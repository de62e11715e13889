#pragma once

#include "DatabaseBackups.h"
#include "DatabaseImport.h"
#include "DatabaseLifecycle.h"
#include "DatabasePaths.h"
#include "FontCodec.h"
#include "NoteAttachments.h"
#include "NoteAttributes.h"
#include "NoteCatalogue.h"
#include "NoteRecords.h"
#include "NoteTextSearch.h"
#include "Settings.h"
#include "SettingsRecord.h"
#include "StoreData.h"
#include "StoreProblems.h"
#include "StoreTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bp {

// The one store of notes and settings. The database is held as mark-up text and every
// operation searches and splices it; nothing else in the program touches the text. The
// program sees only this class; each job is done by a part of its own (below).
class CNotesDatabase {
public:
    explicit CNotesDatabase(StoreServices services);
    CNotesDatabase(const CNotesDatabase&) = delete;
    CNotesDatabase& operator=(const CNotesDatabase&) = delete;

    // What a read, an open or an import could not do goes to the sink, in the words the user
    // is shown; the program installs one that shows them. Without one they are kept for
    // TakeProblems (tools, tests).
    void SetProblemSink(StoreProblems::Sink sink) { data_.problems.install(std::move(sink)); }
    std::vector<StoreProblem> TakeProblems() { return data_.problems.take(); }

    // Lifecycle.
    bool InitDatabase();
    // The data folder; the database is "Brightpost.dat" in it.
    void SetDataFolder(const std::string& folder);
    // A database file of another name (tools): its folder becomes the data folder.
    void SetDatabasePath(const std::string& path);
    const std::string& DataFolder() const { return paths_.dataFolder(); }
    const std::string& DatabasePath() const { return paths_.databasePath(); }
    std::string TemporaryPath() const { return paths_.temporaryPath(); }

    // mode: an OpenMode.
    bool OpenDatabase(int mode);
    // The last open found no file and made the default database: the program's first start
    // on this data folder.
    bool CreatedOnOpen() const { return file_.createdOnOpen(); }

    // What a save did (DatabaseLifecycle.h).
    using SaveOutcome = DatabaseSaveOutcome;
    using ChangesSaved = SaveOutcome;

    SaveOutcome CreateDefaultDatabase(const std::string& path);
    // An empty path saves to the database path through "~tmp.dat" and a rename.
    SaveOutcome SaveDatabase(const std::string& path);
    // 0, or the cause of the failed write (nothing half-written is left behind).
    int WriteDatabaseFile(const std::string& text, const std::string& path);
    void RenumberNotes();

    // Saves nobody asked for (after edits, or when the desktop goes away): the save of
    // SaveDatabase(""), skipped when the file already holds the text. Safe on any thread.
    ChangesSaved SaveChanges();
    // Called after every operation that changed the notes or settings, on the thread that
    // changed them and with the data lock held: it must only take note and return.
    void SetChangeListener(std::function<void()> listener);

    // Asks for the database to be saved: Soon leaves the moment to the program's saver, Now
    // returns once the file holds what the store holds. The saver, once installed, writes and
    // tells the user of a failure; without one (tools, tests) both save here and now, silently.
    void RequestSave(SaveUrgency urgency);
    void SetSaveHandler(std::function<void(SaveUrgency)> handler);

    // Backups. kind 2 lists "temp-*.dat", any other kind "copy_*.dat" (full paths).
    std::vector<std::string> ListDatabaseFiles(const std::string& folder, int kind) const;
    bool BackupDatabase();

    // Settings are read and written through the typed keys of Settings.h (setting::get,
    // setting::set); by their stored names only through SettingsByName.
    // A setting that only some databases carry (SettingsRecord::readExtra). Reached through
    // setting::get/set.
    std::optional<std::string> GetSettingExtra(std::string_view name);
    bool SetSettingExtra(std::string_view name, const std::optional<std::string>& text);
    // "Low", "Regular", "High" for priority 0, 1, 2; any other value leaves out unchanged.
    void GetDefaultPriorityName(std::string& out);
    // The wording of showNotesMode 0, 1, 2; any other value leaves out unchanged.
    void GetShowNotesModeName(std::string& out);

    // Notes. source is a NoteSource: reads of the import buffer take no lock and report
    // nothing (except the body read). A failed read yields the empty text or 0.
    std::string GetNoteAttribute(int source, std::int32_t nid, std::string_view name);
    bool SetNoteAttribute(std::int32_t nid, std::string_view name, const std::string& text);
    std::string GetNoteString(int source, std::int32_t nid, std::string_view name);
    int GetNoteInt(int source, std::int32_t nid, std::string_view name);
    std::uint32_t GetNoteUInt(int source, std::int32_t nid, std::string_view name);
    LogFont GetNoteFont(int source, std::int32_t nid, std::string_view name);
    bool SetNoteString(std::int32_t nid, const std::string& text, std::string_view name);
    bool SetNoteInt(std::int32_t nid, std::int32_t value, std::string_view name);
    bool SetNoteUInt(std::int32_t nid, std::uint32_t value, std::string_view name);
    bool SetNoteFont(std::int32_t nid, const LogFont& font, std::string_view name);
    // An attribute that only some notes carry, after the ones every note has: a note without
    // it reads nothing, and removing it (nullopt) gives the note back its bytes from before.
    // Not in the table, so copies and imports leave it behind. Silent: a note that is not
    // there reads nothing and takes nothing.
    std::optional<std::string> GetNoteExtra(std::int32_t nid, std::string_view name);
    bool SetNoteExtra(std::int32_t nid, std::string_view name,
                      const std::optional<std::string>& text);
    // The same through a typed key (note::xPos, ...): the key chooses the reader and writer.
    int GetNote(int source, std::int32_t nid, IntKey key) {
        return GetNoteInt(source, nid, key.name);
    }
    std::uint32_t GetNote(int source, std::int32_t nid, UIntKey key) {
        return GetNoteUInt(source, nid, key.name);
    }
    std::string GetNote(int source, std::int32_t nid, TextKey key) {
        return GetNoteString(source, nid, key.name);
    }
    LogFont GetNote(int source, std::int32_t nid, FontKey key) {
        return GetNoteFont(source, nid, key.name);
    }
    bool SetNote(std::int32_t nid, std::int32_t value, IntKey key) {
        return SetNoteInt(nid, value, key.name);
    }
    bool SetNote(std::int32_t nid, std::uint32_t value, UIntKey key) {
        return SetNoteUInt(nid, value, key.name);
    }
    bool SetNote(std::int32_t nid, const std::string& text, TextKey key) {
        return SetNoteString(nid, text, key.name);
    }
    bool SetNote(std::int32_t nid, const LogFont& font, FontKey key) {
        return SetNoteFont(nid, font, key.name);
    }
    // Copies one attribute of a note of source to the live note to, read and written as its
    // type says, so that a copy stores the value as the program reads it.
    bool CopyNoteAttribute(int source, std::int32_t from, std::int32_t to,
                           const NoteAttribute& attribute);
    // The body as stored, with the line break the writer put before its end marker. A failed
    // read reports itself (both sources) and leaves out unchanged.
    bool GetNoteBody(int source, std::int32_t nid, std::string& out);
    bool SetNoteBody(std::int32_t nid, const std::string& text);
    // Appends a note with the defaults of the settings and a position on the desktop.
    std::int32_t NewNote();
    bool DeleteNote(std::int32_t nid);
    // flag 1 moves the note into the Recycle Bin (purging the oldest beyond deleteMax first),
    // 0 restores it; both stamp deleteTime.
    void SetNoteDeleted(std::int32_t nid, int flag);
    IdList ListNotes(int source);
    std::optional<IdList> ListDeletedNotes();
    // Notes outside the Recycle Bin with that priority; any priority above 2 counts them all.
    int CountNotesByPriority(unsigned priority);

    // Attachment records. Filters: 5 all, 4 types 0 and 3, 99 types 1 and 6, n type n.
    std::int32_t AttachFileToNote(std::int32_t nid, int type, const std::string& name);
    bool DetachFileFromNote(std::int32_t nid, std::int32_t fid);
    std::optional<IdList> GetNoteAttachedFiles(int source, std::int32_t nid, int filter);
    bool GetNoteAttachedFilename(int source, std::int32_t nid, std::int32_t fid, std::string& out);
    int GetNoteAttachedFiletype(int source, std::int32_t nid, std::int32_t fid);

    // Import and export. LoadImportFile fills the import buffer (read with source 0) and
    // lists the notes of the file that are not in its Recycle Bin.
    // Writes the notes and settings to path; the database file itself is left to the caller.
    SaveOutcome ExportDatabase(const std::string& path);
    std::optional<IdList> LoadImportFile(const std::string& path);

    // The notes whose body or title shows text, as the rich-text engine renders them. uid -1
    // considers every note; options is a list of option words ("case_sensitive",
    // "whole_word", "search_in_notes", "search_in_titles", "all_notes").
    std::optional<IdList> SearchNotes(int uid, const std::string& options, const std::string& text);

    // The text as last read or saved, and the two live sections (for tools and tests).
    std::string WholeText() const;
    std::string SettingsSection() const;
    std::string NotesSection() const;
    // Off: every note operation searches the whole section (reference figures and tests).
    void SetIndexing(bool enabled);
    bool NotesIndexed() const;

    // A stored Int: "-1", "4294967295" and "-1junk" all read as -1; no digits read as 0.
    static int ParseInt(std::string_view text);
    // A stored UInt: negative 32-bit values are taken modulo 2^32, so "-1" is 4294967295.
    static std::uint32_t ParseUInt(std::string_view text);

private:
    // The settings by their stored names (SettingsRecord.h).
    friend class SettingsByName;
    std::string GetSettingAttribute(std::string_view name);
    bool SetSettingAttribute(std::string_view name, const std::string& text);
    std::string GetSettingString(std::string_view name);
    int GetSettingInt(std::string_view name);
    std::uint32_t GetSettingUInt(std::string_view name);
    LogFont GetSettingFont(std::string_view name);
    bool SetSettingString(const std::string& text, std::string_view name);
    bool SetSettingInt(std::int32_t value, std::string_view name);
    bool SetSettingUInt(std::uint32_t value, std::string_view name);
    bool SetSettingFont(const LogFont& font, std::string_view name);

    // The parts hold references to the data, the paths and each other: declared in the
    // order they are made.
    StoreData data_;
    DatabasePaths paths_;
    SettingsRecord settings_;
    NoteRecords records_;
    NoteCatalogue catalogue_;
    NoteAttachments attachments_;
    NoteTextSearch search_;
    DatabaseLifecycle file_;
    DatabaseBackups backups_;
    DatabaseImport import_;
};

}  // namespace bp
