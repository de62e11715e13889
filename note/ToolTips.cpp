#include "ToolTips.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace bp {

namespace {

// Moves the longest start of word that fits a line into lines, until the rest fits.
void breakLongWord(QString& word, const QFontMetrics& metrics, int maxWidth, QStringList& lines) {
    while (word.size() > 1 && metrics.horizontalAdvance(word) > maxWidth) {
        qsizetype fits = 1;
        while (fits < word.size() && metrics.horizontalAdvance(word.left(fits + 1)) <= maxWidth) {
            ++fits;
        }
        // A surrogate pair stays whole.
        if (fits < word.size() && word.at(fits - 1).isHighSurrogate() && fits > 1) {
            --fits;
        }
        lines.append(word.left(fits));
        word.remove(0, fits);
    }
}

}  // namespace

QString withMissedAlarm(const QString& tip, const std::optional<QString>& missedAt) {
    if (!missedAt) {
        return tip;
    }
    return tip + QStringLiteral("\nmissed alarm: ") + *missedAt;
}

QStringList wrapToolTip(const QString& text, const QFontMetrics& metrics, int maxWidth) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        bool lineStarted = false;
        for (QString word : paragraph.split(QLatin1Char(' '))) {
            if (lineStarted) {
                const QString longer = line + QLatin1Char(' ') + word;
                if (metrics.horizontalAdvance(longer) <= maxWidth) {
                    line = longer;
                    continue;
                }
                lines.append(line);
            }
            breakLongWord(word, metrics, maxWidth, lines);
            line = word;
            lineStarted = true;
        }
        lines.append(line);
    }
    return lines;
}

void CWrappedToolTips::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool CWrappedToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty()) {
        return false;
    }
    auto* help = static_cast<QHelpEvent*>(event);
    const QStringList lines =
        wrapToolTip(widget->toolTip(), QFontMetrics(QToolTip::font()), kMaxWidth);
    // As rich text with every blank kept, so the label breaks nowhere but where asked; a title
    // that looks like mark-up is shown as typed.
    QToolTip::showText(help->globalPos(),
                       Qt::convertFromPlainText(lines.join(QLatin1Char('\n')), Qt::WhiteSpacePre),
                       widget, QRect(), widget->toolTipDuration());
    return true;
}

}  // namespace bp
