#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace bp {

// A font together with the colour its text is drawn in.
struct FontChoice {
    QFont font;
    QColor color;
};

// Asks for a font, its size, style and effects, and a text colour, starting from the current
// ones. A face the system draws with a stand-in (a stored "Arial" drawn with Liberation Sans)
// is shown as that stand-in, and comes back under its own name unless another face is picked,
// so a body keeps the faces it was written with.
class CFontDialog : public QDialog {
    Q_OBJECT
public:
    CFontDialog(QWidget* parent, const FontChoice& initial);

    // What the user chose, in the form the body and the title store.
    FontChoice choice() const;
    // The font as the dialog shows it.
    QFont shownFont() const;
    const QColor& color() const { return color_; }
    void setColor(const QColor& color);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickColor();

    QFontDialog* fonts_;
    QPushButton* colorButton_;
    QColor color_;
    QString requestedFamily_;
    QString shownFamily_;
};

}  // namespace bp
