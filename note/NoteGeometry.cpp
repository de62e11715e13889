#include "NoteGeometry.h"

namespace bp {

namespace {

void clampAxis(int& position, int& length, int limit) {
    if (position < 0) {
        position = 0;
    }
    if (position + length > limit) {
        position = limit - length;
        if (position < 0) {
            position = 0;
            length = limit;
        }
    }
}

}  // namespace

Rect clampToDesktop(Rect note, int desktopWidth, int desktopHeight) {
    clampAxis(note.x, note.width, desktopWidth);
    clampAxis(note.y, note.height, desktopHeight);
    return note;
}

}  // namespace bp
