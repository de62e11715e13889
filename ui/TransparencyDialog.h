#pragma once

#include "platform/WindowSystem.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QSlider;

namespace bp {

// Sets how see-through a note is, showing every change on the note at once.
class CTransparency : public QDialog {
    Q_OBJECT
public:
    // targets: the windows that preview the setting (absent ones are skipped).
    CTransparency(QWidget* parent, IWindowSystem& windows, std::vector<QWidget*> targets,
                  bool transparent, int position);

    bool transparent() const;
    // 0 (opaque) to 200 (opacity 55 of 255).
    int position() const;
    void setTransparent(bool on);
    void setPosition(int position);

    static constexpr int kMaximum = 200;
    // The stored level for a position, and back: 255 is opaque.
    static int levelFor(int position) { return 255 - position; }
    static int positionFor(int level);

private:
    void applyToTargets();

    IWindowSystem& windows_;
    std::vector<QWidget*> targets_;
    QCheckBox* check_;
    QSlider* slider_;
};

}  // namespace bp
