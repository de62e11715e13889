#include "DatabaseOpening.h"

#include "BusyScope.h"
#include "DatabaseRecovery.h"
#include "platform/DataFolder.h"
#include "platform/Messages.h"
#include "store/NotesDatabase.h"

namespace bp {

DatabaseOpening::Result DatabaseOpening::open(const std::optional<std::string>& dataDirOverride) {
    if (!store_.InitDatabase()) {
        return Result::Failed;
    }
    const std::string dataFolder = resolveDataFolder(dataDirOverride);
    if (const FolderCheck folder = preparePrivateFolder(dataFolder); !folder.usable) {
        platform_.messages->showMessage("Error", "", folder.problem, res::ICON_WARNING);
        return Result::Failed;
    }
    store_.SetDataFolder(dataFolder);
    if (store_.OpenDatabase(kOpenReporting)) {
        return Result::Ready;
    }
    if (exiting_) {
        return Result::SessionEnded;
    }
    if (!recover()) {
        return exiting_ ? Result::SessionEnded : Result::Failed;
    }
    return Result::Ready;
}

bool DatabaseOpening::recover() {
    BusyScope busy(busy_);
    CDatabaseRecovery recovery(store_, *platform_.clock);
    const CDatabaseRecovery::Outcome outcome = recovery.Run();
    if (!outcome.message.empty()) {
        platform_.messages->showMessage(outcome.usable ? "Warning" : "Error", "", outcome.message,
                                        res::ICON_WARNING);
    }
    return outcome.usable;
}

}  // namespace bp
