#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace bp {

class CNote;

// The strip across the top of a note: it shows the title in the title font and colours and
// drags the note.
class CTitle : public QWidget {
    Q_OBJECT
public:
    explicit CTitle(CNote& note);

    void setTitleText(const QString& text);
    const QString& titleText() const { return titleText_; }
    void setTitleFont(const QFont& font);
    void setColors(const QColor& text, const QColor& back);
    const QColor& textColor() const { return textColor_; }
    const QColor& backColor() const { return backColor_; }
    void setUnlocked(bool unlocked) { unlocked_ = unlocked; }
    bool unlocked() const { return unlocked_; }

    // Places the buttons in the bar's current size.
    void layoutButtons();
    // The rectangle the title text is drawn in: clear of the buttons on the left and of the
    // 39 pixels kept free on the right.
    QRect textRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CNote& note_;
    QString titleText_;
    QColor textColor_;
    QColor backColor_;
    bool unlocked_ = true;
};

}  // namespace bp
