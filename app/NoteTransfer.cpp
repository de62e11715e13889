#include "NoteTransfer.h"

#include "NotePlacement.h"
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
    store_.SetNoteFont(nid, store_.GetNoteFont(kLiveSource, source, "titleFontType"),
                       "titleFontType");
    store_.SetNoteFont(nid, store_.GetNoteFont(kLiveSource, source, "bodyFontType"),
                       "bodyFontType");
    for (const char* name :
         {"title", "remindWav", "remindUrl", "remindExe", "imagePath", "schedule"}) {
        store_.SetNoteString(nid, store_.GetNoteString(kLiveSource, source, name), name);
    }
    for (const char* name : {"xPos",
                             "yPos",
                             "Width",
                             "Height",
                             "border",
                             "TransLevel",
                             "priority",
                             "isBody",
                             "isEdit",
                             "Transparency",
                             "links",
                             "isReminder",
                             "repeatEach",
                             "remindRepeat",
                             "remindSnoozeTime",
                             "remindRepeatTimes",
                             "remindRepeatInterval",
                             "remindRepeatInterval2",
                             "remindAction",
                             "remindFlashTimes",
                             "remindFlashInterval",
                             "imagePos"}) {
        store_.SetNoteInt(nid, store_.GetNoteInt(kLiveSource, source, name), name);
    }
    for (const char* name : {"titleFontColor", "titleBackColor", "bodyFontColor", "bodyBackColor",
                             "time", "remindTime", "remindTime1", "remindTime2", "expireTime"}) {
        store_.SetNoteUInt(nid, store_.GetNoteUInt(kLiveSource, source, name), name);
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
    // Written in place, an export onto the open database would lose it if the write failed
    // half-way; the save goes through a temporary file instead.
    if (samePath(path, store_.DatabasePath())) {
        store_.SaveDatabase("");
    } else {
        store_.ExportDatabase(path);
    }
}

std::int32_t NoteTransfer::importNote(std::int32_t source) {
    static constexpr const char* kInts[] = {"TransLevel",
                                            "priority",
                                            "isBody",
                                            "isEdit",
                                            "Transparency",
                                            "links",
                                            "isReminder",
                                            "remindRepeat",
                                            "remindSnoozeTime",
                                            "remindRepeatTimes",
                                            "remindRepeatInterval",
                                            "remindRepeatInterval2",
                                            "remindAction",
                                            "remindFlashTimes",
                                            "remindFlashInterval",
                                            "imagePos",
                                            "repeatEach"};
    static constexpr const char* kUInts[] = {"titleFontColor", "titleBackColor", "bodyFontColor",
                                             "bodyBackColor",  "time",           "remindTime",
                                             "remindTime1",    "remindTime2",    "expireTime"};
    static constexpr const char* kStrings[] = {"title",     "remindWav", "remindUrl",
                                               "remindExe", "imagePath", "schedule"};

    const std::int32_t nid = store_.NewNote();
    const Rect desktop = platform_.desktop->screenRect();
    const Rect fitted = clampToDesktop({store_.GetNoteInt(kImportSource, source, "xPos"),
                                        store_.GetNoteInt(kImportSource, source, "yPos"),
                                        store_.GetNoteInt(kImportSource, source, "Width"),
                                        store_.GetNoteInt(kImportSource, source, "Height")},
                                       desktop.width, desktop.height);
    store_.SetNoteInt(nid, fitted.x, "xPos");
    store_.SetNoteInt(nid, fitted.y, "yPos");
    store_.SetNoteInt(nid, fitted.width, "Width");
    store_.SetNoteInt(nid, fitted.height, "Height");
    const int border = store_.GetNoteInt(kImportSource, source, "border");
    store_.SetNoteInt(nid, border > 0 ? border : store_.GetSettingInt("border"), "border");
    for (const char* name : kInts) {
        store_.SetNoteInt(nid, store_.GetNoteInt(kImportSource, source, name), name);
    }
    for (const char* name : kUInts) {
        store_.SetNoteUInt(nid, store_.GetNoteUInt(kImportSource, source, name), name);
    }
    for (const char* name : {"titleFontType", "bodyFontType"}) {
        store_.SetNoteFont(nid, store_.GetNoteFont(kImportSource, source, name), name);
    }
    for (const char* name : kStrings) {
        store_.SetNoteString(nid, store_.GetNoteString(kImportSource, source, name), name);
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
