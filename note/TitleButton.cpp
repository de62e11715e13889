#include "TitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>

namespace bp {

QString titleImagePath(int imageId) {
    const char* name = nullptr;
    switch (imageId) {
        case bitmap::PRIORITY_REGULAR:
            name = "title-priority-regular";
            break;
        case bitmap::PRIORITY_LOW:
            name = "title-priority-low";
            break;
        case bitmap::PRIORITY_HIGH:
            name = "title-priority-high";
            break;
        case bitmap::CLOSE:
            name = "title-close";
            break;
        case bitmap::MINIMIZE:
            name = "title-minimize";
            break;
        case bitmap::RESTORE:
            name = "title-restore";
            break;
        case bitmap::LOCKED:
            name = "title-locked";
            break;
        case bitmap::ALARM_OFF:
            name = "title-alarm-off";
            break;
        case bitmap::ALARM_ON:
            name = "title-alarm-on";
            break;
        case bitmap::EXPIRATION:
            name = "title-expiration";
            break;
        case bitmap::READ:
            name = "title-read";
            break;
        case bitmap::STOP_SNOOZE:
            name = "title-stop-snooze";
            break;
        default:
            return {};
    }
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
}

CTitleButton::CTitleButton(int commandId, QWidget* parent)
    : QAbstractButton(parent), commandId_(commandId) {
    setFocusPolicy(Qt::NoFocus);
    // Nothing is erased: the bar's fill stays under the image.
    setAttribute(Qt::WA_NoSystemBackground);
    connect(this, &QAbstractButton::clicked, this, [this] { emit command(commandId_); });
}

CTitleButton::~CTitleButton() = default;

bool CTitleButton::setImage(int imageId) {
    imageId_ = imageId;
    image_.reset();
    const QString path = titleImagePath(imageId);
    bool loaded = false;
    if (!path.isEmpty()) {
        auto renderer = std::make_unique<QSvgRenderer>(path);
        if (renderer->isValid()) {
            image_ = std::move(renderer);
            loaded = true;
        }
    }
    update();
    return loaded;
}

void CTitleButton::paintEvent(QPaintEvent*) {
    if (!image_) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The image keeps its 16 x 16 design size from the top-left corner; a smaller button
    // (the expiration button) shows it scaled to fit.
    const int side = std::min({16, width(), height()});
    image_->render(&painter, QRectF(0, (height() - side) / 2, side, side));
}

void CTitleButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click counts as a click of its own.
    mousePressEvent(event);
}

}  // namespace bp
