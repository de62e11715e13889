#pragma once

#include "store/FontCodec.h"

#include <QColor>
#include <QObject>

#include <functional>

namespace bp {

class CNote;
class INoteDialogs;

// How a note looks and stacks: its priority, its colours and fonts and the dialogs that choose
// them, the random colour scheme, and its transparency with the opaque look while the pointer
// is over it or its body has the focus. Every choice is written to the record at once.
class CNoteAppearance : public QObject {
    Q_OBJECT
public:
    explicit CNoteAppearance(CNote& note);

    // Takes the look the record holds.
    void load();

    int priority() const { return priority_; }
    void setPriority(int priority);
    void applyPriorityZOrder();

    QColor bodyBackColor() const { return bodyBackColor_; }
    QColor bodyFontColor() const { return bodyFontColor_; }
    const LogFont& bodyFont() const { return bodyFont_; }
    void applyRandomScheme();
    void setRandomSource(std::function<unsigned()> random) { random_ = std::move(random); }
    // The colour and font dialogs; tests answer them.
    INoteDialogs* dialogs() const { return dialogs_; }
    void setDialogs(INoteDialogs* dialogs) { dialogs_ = dialogs; }
    void chooseNoteColor();
    void chooseBodyTextColor();
    void chooseBodyFont();
    void chooseTitleFont();
    void chooseTitleTextColor();

    bool isTransparent() const { return transparency_ != 0; }
    bool hoverOpaque() const { return hoverOpaque_; }
    void applyTransparency();
    void chooseTransparency();
    void onHoverTick();
    void showOpaque();
    void setBodyFocused(bool focused);

signals:
    void colorsChanged();

private:
    CNote& note_;
    int priority_ = 1;
    int transparency_ = 0;
    QColor bodyFontColor_;
    QColor bodyBackColor_;
    LogFont bodyFont_;
    bool hoverOpaque_ = false;
    bool bodyFocused_ = false;
    std::function<unsigned()> random_;
    INoteDialogs* dialogs_ = nullptr;
};

}  // namespace bp
