#pragma once

namespace bp {

// Keeps the desktop's autostart entry of an installed copy in step with the autorun setting.
// A problem goes to standard error: not worth a box at every start, the notes work either way.
void syncAutostartEntry(bool autorun);

}  // namespace bp
