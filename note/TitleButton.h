#pragma once

#include <QAbstractButton>
#include <QString>

namespace bp::bitmap {
inline constexpr int PRIORITY_REGULAR = 41;
inline constexpr int PRIORITY_LOW = 42;
inline constexpr int PRIORITY_HIGH = 43;
inline constexpr int CLOSE = 51;
inline constexpr int MINIMIZE = 52;
inline constexpr int RESTORE = 53;
inline constexpr int LOCKED = 54;
inline constexpr int ALARM_OFF = 55;
inline constexpr int ALARM_ON = 56;
inline constexpr int EXPIRATION = 625;
inline constexpr int READ = 663;
inline constexpr int STOP_SNOOZE = 673;
}  // namespace bp::bitmap

namespace bp {

// A small image button of the title bar. Its image is drawn over the bar's own fill, so the
// bar's colour shows around and through it. Its number names it among the bar's buttons.
class CTitleButton : public QAbstractButton {
    Q_OBJECT
public:
    CTitleButton(int commandId, QWidget* parent);
    ~CTitleButton() override;

    int commandId() const { return commandId_; }
    // False when the image cannot be loaded; the button is then drawn empty.
    bool setImage(int imageId);
    int imageId() const { return imageId_; }

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const int commandId_;
    int imageId_ = 0;
    bool hasImage_ = false;
};

// The image file of a bitmap number, empty for an unknown number.
QString titleImagePath(int imageId);

}  // namespace bp
