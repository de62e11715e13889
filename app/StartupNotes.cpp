#include "StartupNotes.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace bp {

namespace {

constexpr std::size_t kNotesBetweenEvents = 16;

}  // namespace

bool openStartupNotes(const std::vector<std::int32_t>& nids,
                      const std::function<void(std::int32_t, OpenNotes::StartFlags)>& start,
                      const std::function<bool()>& stop) {
    for (std::size_t i = 0; i < nids.size(); ++i) {
        OpenNotes::StartFlags flags;
        flags.applyPriorityOnStart = true;
        flags.startupBatch = true;
        flags.lastOfStartupBatch = i + 1 == nids.size();
        start(nids[i], flags);
        // What the notes posted and what the X server answered are taken in between: left
        // to queue up until the last note, each further event of a widget or an expose of a
        // window is checked against all that waits, which grows with the square of the notes.
        if ((i + 1) % kNotesBetweenEvents == 0) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::ExcludeSocketNotifiers);
        }
        // A session that ends while many or large notes load need not wait for the rest.
        if (stop && stop()) {
            return false;
        }
    }
    return true;
}

}  // namespace bp
