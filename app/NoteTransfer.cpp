#include "NoteTransfer.h"

#include "NotePlacement.h"
#include "SaveFailure.h"
#include "TrayText.h"
#include "note/NoteGeometry.h"
#include "store/NotesDatabase.h"

#include <filesystem>

namespace bp {

namespace {

constexpr const char* kDatFilter = "Dat Files (*.dat)";

bool samePath(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto left = std::filesystem::weakly_canonical(a, error);
    if (error) {
        return false;
    }
    const auto right = std::filesystem::weakly_canonical(b, error);
    return !error && left == right;
}

}  // namespace

NoteTransfer::NoteTransfer(Platform platform, CNotesDatabase& store)
    : platform_(platform), store_(store) {}

std::int32_t NoteTransfer::duplicate(std::int32_t source) {
    const std::int32_t nid = store_.NewNote();
    for (const NoteAttribute& attribute : kNoteAttributes) {
        if (attribute.copy != CopyRule::Own) {
            store_.CopyNoteAttribute(kLiveSource, source, nid, attribute);
        }
    }
    copyBodyAndAttachments(kLiveSource, source, nid);
    return nid;
}

std::string NoteTransfer::chooseImportFile() const {
    const std::string chosen =
        platform_.fileDialogs != nullptr
            ? platform_.fileDialogs->openFile("Import Notes", kDatFilter, "dat")
            : std::string();
    return chosen.empty() ? chosen : withDatExtension(chosen);
}

std::string NoteTransfer::chooseExportFile() const {
    const std::string chosen =
        platform_.fileDialogs != nullptr
            ? platform_.fileDialogs->saveFile("Export Notes", kDatFilter, "dat")
            : std::string();
    return chosen.empty() ? chosen : withDatExtension(chosen);
}

bool NoteTransfer::importFile(const std::string& path,
                              const std::function<void(std::int32_t)>& imported,
                              const std::function<bool()>& stop) {
    const auto notes = store_.LoadImportFile(path);
    if (!notes) {
        return false;
    }
    for (const std::int32_t source : *notes) {
        imported(importNote(source));
        if (stop && stop()) {
            break;
        }
    }
    return true;
}

void NoteTransfer::exportTo(const std::string& path) {
    // The database is saved before the export is written. An export onto the open database
    // is that save: written in place, it would lose the database if the write failed half-way.
    store_.RequestSave(SaveUrgency::Now);
    if (samePath(path, store_.DatabasePath())) {
        return;
    }
    if (const CNotesDatabase::SaveOutcome exported = store_.ExportDatabase(path);
        exported.failed()) {
        SaveReports(*platform_.messages, store_).writeFailed(exported);
    }
}

std::int32_t NoteTransfer::importNote(std::int32_t source) {
    const std::int32_t nid = store_.NewNote();
    const Rect desktop = platform_.desktop->screenRect();
    const Rect fitted = clampToDesktop({store_.GetNote(kImportSource, source, note::xPos),
                                        store_.GetNote(kImportSource, source, note::yPos),
                                        store_.GetNote(kImportSource, source, note::Width),
                                        store_.GetNote(kImportSource, source, note::Height)},
                                       desktop.width, desktop.height);
    store_.SetNote(nid, fitted.x, note::xPos);
    store_.SetNote(nid, fitted.y, note::yPos);
    store_.SetNote(nid, fitted.width, note::Width);
    store_.SetNote(nid, fitted.height, note::Height);
    const int border = store_.GetNote(kImportSource, source, note::border);
    store_.SetNote(nid, border > 0 ? border : setting::get(store_, setting::border), note::border);
    for (const NoteAttribute& attribute : kNoteAttributes) {
        if (attribute.copy == CopyRule::Same) {
            store_.CopyNoteAttribute(kImportSource, source, nid, attribute);
        }
    }
    copyBodyAndAttachments(kImportSource, source, nid);
    return nid;
}

void NoteTransfer::copyBodyAndAttachments(int source, std::int32_t from, std::int32_t to) {
    std::string body;
    if (store_.GetNoteBody(source, from, body)) {
        // The stored body ends with the line break the store put before its end marker;
        // kept, a copied body would grow by one line at every copy.
        if (body.ends_with("\r\n")) {
            body.resize(body.size() - 2);
        }
        store_.SetNoteBody(to, body);
    }
    if (const auto files = store_.GetNoteAttachedFiles(source, from, 5)) {
        for (const std::int32_t fid : *files) {
            std::string name;
            store_.GetNoteAttachedFilename(source, from, fid, name);
            store_.AttachFileToNote(to, store_.GetNoteAttachedFiletype(source, from, fid), name);
        }
    }
}

}  // namespace bp
