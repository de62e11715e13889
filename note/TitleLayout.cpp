#include "TitleLayout.h"

#include <algorithm>

namespace bp {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kExpirationSide = 15;
constexpr int kRightReserve = 39;
constexpr int kEditorLeft = 54;
constexpr int kEditorRightReserve = 56;

int leftOffset(const TitleButtonsShown& shown) {
    int left = 0;
    left += shown.priority ? 20 : 0;
    left += shown.read ? 16 : 0;
    left += shown.alarm ? 18 : 0;
    left += shown.stopSnooze ? 18 : 0;
    left += shown.expiration ? 20 : 0;
    return left;
}

}  // namespace

TitleButtonPlaces placeTitleButtons(int width, int height, const TitleButtonsShown& shown) {
    TitleButtonPlaces places;
    const int h = std::max(height, 0);
    places.close = QRect(width - 17, 0, kButtonWidth, h);
    places.minimize = QRect(width - 33, 0, kButtonWidth, h);
    places.priority = QRect(0, 0, kButtonWidth, h);
    places.read = QRect(17, 0, kButtonWidth, h);
    places.alarm = QRect(34, 0, kButtonWidth, h);
    places.stopSnooze = QRect(51, 0, kButtonWidth, h);
    // The expiration button takes the next free slot of the row, inside the 20 pixels the
    // title text leaves for it.
    const int slot = shown.stopSnooze ? 68 : 51;
    places.expiration = QRect(slot, std::max((h - kExpirationSide) / 2, 0), kExpirationSide,
                              std::min(kExpirationSide, h));
    return places;
}

QRect titleTextRect(const QRect& bar, const TitleButtonsShown& shown) {
    QRect text = bar;
    text.setLeft(bar.left() + leftOffset(shown));
    text.setRight(bar.right() - kRightReserve);
    return text;
}

QRect titleEditorRect(const QRect& bar, const TitleButtonsShown& shown) {
    QRect editor = bar;
    // The editor never covers a visible button, not even the stop-snooze button.
    const int left = std::max(kEditorLeft + (shown.expiration ? 20 : 0), leftOffset(shown));
    editor.setLeft(bar.left() + left);
    editor.setRight(bar.right() - kEditorRightReserve);
    return editor;
}

QString priorityWord(const QString& stored) {
    if (stored == QLatin1String("0")) {
        return QStringLiteral("Low");
    }
    if (stored == QLatin1String("1")) {
        return QStringLiteral("Regular");
    }
    if (stored == QLatin1String("2")) {
        return QStringLiteral("High");
    }
    return stored;
}

QString titleToolTip(const QString& created, const QString& priority, const QString& title,
                     const QString& alarm) {
    return QStringLiteral("created: %1\npriority: %2\ntitle: %3\nalarm time: %4")
        .arg(created, priority, title, alarm);
}

}  // namespace bp
