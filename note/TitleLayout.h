#pragma once

#include <QRect>
#include <QString>

#include <string>

namespace bp {

// Which of the title bar's optional buttons are showing.
struct TitleButtonsShown {
    bool priority = true;
    bool read = true;
    bool alarm = true;
    bool stopSnooze = false;
    bool expiration = false;
};

// Where the title bar's buttons go in a bar of width x height pixels. A button that is not
// showing still gets its place, so showing it later needs no new layout.
struct TitleButtonPlaces {
    QRect close;
    QRect minimize;
    QRect priority;
    QRect read;
    QRect alarm;
    QRect stopSnooze;
    QRect expiration;
};

TitleButtonPlaces placeTitleButtons(int width, int height, const TitleButtonsShown& shown);

// The title text starts right of the buttons on the left and keeps the last 39 pixels free
// for the minimize and close buttons.
QRect titleTextRect(const QRect& bar, const TitleButtonsShown& shown);

// The in-place title editor covers the text area and stays clear of both button groups.
QRect titleEditorRect(const QRect& bar, const TitleButtonsShown& shown);

// "0", "1" and "2" as the words the tool tip shows; anything else is shown as it is.
QString priorityWord(const QString& stored);

QString titleToolTip(const QString& created, const QString& priority, const QString& title,
                     const QString& alarm);

}  // namespace bp
