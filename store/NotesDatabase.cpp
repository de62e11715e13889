#include "NotesDatabase.h"

#include "Markup.h"

namespace bp {

CNotesDatabase::CNotesDatabase(StoreServices services)
    : settings_(data_),
      records_(data_),
      catalogue_(data_, settings_, records_, services.clock, services.desktop),
      attachments_(data_),
      search_(data_, services.richText),
      file_(data_, paths_, services.clock),
      backups_(paths_, settings_, services.clock),
      import_(data_, catalogue_) {}

bool CNotesDatabase::InitDatabase() {
    // The locks are members; there is nothing else to bring up on this platform.
    return true;
}

int CNotesDatabase::ParseInt(std::string_view text) {
    return parseStoredInt(text);
}

std::uint32_t CNotesDatabase::ParseUInt(std::string_view text) {
    return markup::ParseNumber(text);
}

// ---- The database file -----------------------------------------------------------------------

void CNotesDatabase::SetDataFolder(const std::string& folder) {
    paths_.setDataFolder(folder);
}

void CNotesDatabase::SetDatabasePath(const std::string& path) {
    paths_.setDatabasePath(path);
}

bool CNotesDatabase::OpenDatabase(int mode) {
    return file_.open(mode);
}

CNotesDatabase::SaveOutcome CNotesDatabase::CreateDefaultDatabase(const std::string& path) {
    return file_.createDefault(path);
}

CNotesDatabase::SaveOutcome CNotesDatabase::SaveDatabase(const std::string& path) {
    return file_.save(path);
}

int CNotesDatabase::WriteDatabaseFile(const std::string& text, const std::string& path) {
    return file_.writeFile(text, path);
}

CNotesDatabase::ChangesSaved CNotesDatabase::SaveChanges() {
    return file_.saveChanges();
}

void CNotesDatabase::RequestSave(SaveUrgency urgency) {
    file_.requestSave(urgency);
}

void CNotesDatabase::SetSaveHandler(std::function<void(SaveUrgency)> handler) {
    file_.setSaveHandler(std::move(handler));
}

void CNotesDatabase::SetChangeListener(std::function<void()> listener) {
    std::lock_guard lock(data_.lock);
    data_.changeListener = std::move(listener);
}

std::vector<std::string> CNotesDatabase::ListDatabaseFiles(const std::string& folder,
                                                           int kind) const {
    return backups_.list(folder, kind);
}

bool CNotesDatabase::BackupDatabase() {
    return backups_.backup();
}

CNotesDatabase::SaveOutcome CNotesDatabase::ExportDatabase(const std::string& path) {
    return file_.exportTo(path);
}

std::optional<IdList> CNotesDatabase::LoadImportFile(const std::string& path) {
    return import_.load(path);
}

// ---- Settings --------------------------------------------------------------------------------

std::string CNotesDatabase::GetSettingAttribute(std::string_view name) {
    return settings_.read(name);
}

bool CNotesDatabase::SetSettingAttribute(std::string_view name, const std::string& text) {
    return settings_.write(name, text);
}

std::optional<std::string> CNotesDatabase::GetSettingExtra(std::string_view name) {
    return settings_.readExtra(name);
}

bool CNotesDatabase::SetSettingExtra(std::string_view name,
                                     const std::optional<std::string>& text) {
    return settings_.writeExtra(name, text);
}

std::string CNotesDatabase::GetSettingString(std::string_view name) {
    return settings_.read(name);
}

int CNotesDatabase::GetSettingInt(std::string_view name) {
    return settings_.readInt(name);
}

std::uint32_t CNotesDatabase::GetSettingUInt(std::string_view name) {
    return settings_.readUInt(name);
}

LogFont CNotesDatabase::GetSettingFont(std::string_view name) {
    return settings_.readFont(name);
}

bool CNotesDatabase::SetSettingString(const std::string& text, std::string_view name) {
    return settings_.write(name, text);
}

bool CNotesDatabase::SetSettingInt(std::int32_t value, std::string_view name) {
    return settings_.writeInt(name, value);
}

bool CNotesDatabase::SetSettingUInt(std::uint32_t value, std::string_view name) {
    return settings_.writeUInt(name, value);
}

bool CNotesDatabase::SetSettingFont(const LogFont& font, std::string_view name) {
    return settings_.writeFont(name, font);
}

void CNotesDatabase::GetDefaultPriorityName(std::string& out) {
    settings_.defaultPriorityName(out);
}

void CNotesDatabase::GetShowNotesModeName(std::string& out) {
    settings_.showNotesModeName(out);
}

// ---- A note's record -------------------------------------------------------------------------

std::string CNotesDatabase::GetNoteAttribute(int source, std::int32_t nid, std::string_view name) {
    return records_.read(source, nid, name);
}

bool CNotesDatabase::SetNoteAttribute(std::int32_t nid, std::string_view name,
                                      const std::string& text) {
    return records_.write(nid, name, text);
}

std::string CNotesDatabase::GetNoteString(int source, std::int32_t nid, std::string_view name) {
    return records_.read(source, nid, name);
}

int CNotesDatabase::GetNoteInt(int source, std::int32_t nid, std::string_view name) {
    return records_.readInt(source, nid, name);
}

std::uint32_t CNotesDatabase::GetNoteUInt(int source, std::int32_t nid, std::string_view name) {
    return records_.readUInt(source, nid, name);
}

LogFont CNotesDatabase::GetNoteFont(int source, std::int32_t nid, std::string_view name) {
    return records_.readFont(source, nid, name);
}

bool CNotesDatabase::SetNoteString(std::int32_t nid, const std::string& text,
                                   std::string_view name) {
    return records_.write(nid, name, text);
}

bool CNotesDatabase::SetNoteInt(std::int32_t nid, std::int32_t value, std::string_view name) {
    return records_.writeInt(nid, name, value);
}

bool CNotesDatabase::SetNoteUInt(std::int32_t nid, std::uint32_t value, std::string_view name) {
    return records_.writeUInt(nid, name, value);
}

bool CNotesDatabase::SetNoteFont(std::int32_t nid, const LogFont& font, std::string_view name) {
    return records_.writeFont(nid, name, font);
}

std::optional<std::string> CNotesDatabase::GetNoteExtra(std::int32_t nid, std::string_view name) {
    return records_.readExtra(nid, name);
}

bool CNotesDatabase::SetNoteExtra(std::int32_t nid, std::string_view name,
                                  const std::optional<std::string>& text) {
    return records_.writeExtra(nid, name, text);
}

bool CNotesDatabase::CopyNoteAttribute(int source, std::int32_t from, std::int32_t to,
                                       const NoteAttribute& attribute) {
    return records_.copy(source, from, to, attribute);
}

bool CNotesDatabase::GetNoteBody(int source, std::int32_t nid, std::string& out) {
    return records_.readBody(source, nid, out);
}

bool CNotesDatabase::SetNoteBody(std::int32_t nid, const std::string& text) {
    return records_.writeBody(nid, text);
}

// ---- Which notes there are -------------------------------------------------------------------

std::int32_t CNotesDatabase::NewNote() {
    return catalogue_.newNote();
}

bool CNotesDatabase::DeleteNote(std::int32_t nid) {
    return catalogue_.deleteNote(nid);
}

void CNotesDatabase::SetNoteDeleted(std::int32_t nid, int flag) {
    catalogue_.setDeleted(nid, flag);
}

IdList CNotesDatabase::ListNotes(int source) {
    return catalogue_.list(source);
}

std::optional<IdList> CNotesDatabase::ListDeletedNotes() {
    return catalogue_.listDeleted();
}

int CNotesDatabase::CountNotesByPriority(unsigned priority) {
    return catalogue_.countByPriority(priority);
}

void CNotesDatabase::RenumberNotes() {
    catalogue_.renumber();
}

// ---- Attachments and search ------------------------------------------------------------------

std::int32_t CNotesDatabase::AttachFileToNote(std::int32_t nid, int type, const std::string& name) {
    return attachments_.attach(nid, type, name);
}

bool CNotesDatabase::DetachFileFromNote(std::int32_t nid, std::int32_t fid) {
    return attachments_.detach(nid, fid);
}

std::optional<IdList> CNotesDatabase::GetNoteAttachedFiles(int source, std::int32_t nid,
                                                           int filter) {
    return attachments_.list(source, nid, filter);
}

bool CNotesDatabase::GetNoteAttachedFilename(int source, std::int32_t nid, std::int32_t fid,
                                             std::string& out) {
    return attachments_.filename(source, nid, fid, out);
}

int CNotesDatabase::GetNoteAttachedFiletype(int source, std::int32_t nid, std::int32_t fid) {
    return attachments_.filetype(source, nid, fid);
}

std::optional<IdList> CNotesDatabase::SearchNotes(int uid, const std::string& options,
                                                  const std::string& text) {
    return search_.search(uid, options, text);
}

// ---- Inspection ------------------------------------------------------------------------------

std::string CNotesDatabase::WholeText() const {
    return file_.wholeText();
}

std::string CNotesDatabase::SettingsSection() const {
    std::lock_guard lock(data_.lock);
    return data_.settings;
}

std::string CNotesDatabase::NotesSection() const {
    std::lock_guard lock(data_.lock);
    return data_.notes.text();
}

void CNotesDatabase::SetIndexing(bool enabled) {
    std::lock_guard lock(data_.lock);
    data_.notes.setIndexing(enabled);
    data_.importNotes.setIndexing(enabled);
}

bool CNotesDatabase::NotesIndexed() const {
    std::lock_guard lock(data_.lock);
    return data_.notes.indexed();
}

}  // namespace bp
