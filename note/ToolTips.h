#pragma once

#include <QObject>
#include <QStringList>

#include <optional>

class QFontMetrics;

namespace bp {

// The lines of a tip at most maxWidth pixels wide: its own line breaks are kept, lines break
// at blanks, and a word wider than a whole line is broken where it must.
QStringList wrapToolTip(const QString& text, const QFontMetrics& metrics, int maxWidth);

// A note's title tip with, after the rest, when the alarm that nobody answered was due.
QString withMissedAlarm(const QString& tip, const std::optional<QString>& missedAt);

// Shows the tips of the widgets it watches wrapped at kMaxWidth pixels; the toolkit's own tips
// only wrap rich text, and then at a width of their own choosing.
class CWrappedToolTips : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static constexpr int kMaxWidth = 300;

    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace bp
