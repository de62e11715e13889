#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

namespace bp {

// Asks for a note's exact size in pixels.
class CSetSize : public QDialog {
    Q_OBJECT
public:
    CSetSize(QWidget* parent, QSize stored);

    QSize chosenSize() const;
    void setValues(int width, int height);
    void accept() override;

    static constexpr int kMinWidth = 150;
    static constexpr int kMinHeight = 72;
    static constexpr int kMaximum = 10000;

private:
    QSpinBox* width_;
    QSpinBox* height_;
};

}  // namespace bp
