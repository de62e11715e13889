#include "QtDesktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace bp {

namespace {

Rect toRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

Rect QtDesktop::screenRect() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? toRect(screen->geometry()) : Rect{0, 0, 1024, 768};
}

Rect QtDesktop::availableRect() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? toRect(screen->availableGeometry()) : Rect{0, 0, 1024, 768};
}

Point QtDesktop::cursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

Rect QtDesktop::workAreaAtPointer() const {
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? toRect(screen->availableGeometry()) : Rect{0, 0, 1024, 768};
}

}  // namespace bp
