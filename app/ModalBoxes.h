#pragma once

namespace bp {

// Closes every modal dialog and box that is open, innermost first: the program is ending
// before its event loop has started, so ending that loop would not close them.
void closeModalBoxes();

}  // namespace bp
