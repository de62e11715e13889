#pragma once

#include <cstdint>
#include <vector>

namespace bp {

// Which database a note read goes to: the open one (locked, failures reported) or the
// file being imported (unlocked, silent except for the body).
enum NoteSource : int { kImportSource = 0, kLiveSource = 1 };

// How OpenDatabase treats a damaged file: the normal open reports it, a recovery tries backups
// one by one and must not show a box for each.
enum OpenMode : int { kOpenReporting = 0, kOpenSilent = 10 };

// How soon a requested save must be on disk: Now for a save the caller goes on from (the end
// of the program, a file made from the database), Soon for everything else.
enum class SaveUrgency { Soon, Now };

// The ids of a listing, in document order.
using IdList = std::vector<std::int32_t>;

class IClock;
class IDesktop;
class IRichTextEngine;

// The few desktop services the store uses: the time for stamps and backup names, the screen
// for placing a new note, the rich-text engine for searching bodies. Not owned.
struct StoreServices {
    IClock* clock = nullptr;
    IDesktop* desktop = nullptr;
    IRichTextEngine* richText = nullptr;

    StoreServices() = default;
    StoreServices(IClock* clock, IDesktop* desktop, IRichTextEngine* richText)
        : clock(clock), desktop(desktop), richText(richText) {}
    // Taken from the program's whole bundle of platform services (or a test's fakes).
    template <typename Services>
    requires requires(const Services& s) {
        s.clock;
        s.desktop;
        s.richText;
    }
    StoreServices(const Services& services)  // NOLINT(google-explicit-constructor)
        : clock(services.clock), desktop(services.desktop), richText(services.richText) {}
};

}  // namespace bp
