#include "TitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

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
}

CTitleButton::~CTitleButton() = default;

namespace {

// Every note shows the same few images: each file is read once, and each image is drawn once
// per size and pixel ratio and shared by all buttons. Null for an unknown or unreadable image.
const QSvgRenderer* sharedRenderer(int imageId) {
    static std::unordered_map<int, std::unique_ptr<QSvgRenderer>> renderers;
    auto [it, added] = renderers.try_emplace(imageId);
    if (added) {
        const QString path = titleImagePath(imageId);
        if (!path.isEmpty()) {
            auto renderer = std::make_unique<QSvgRenderer>(path);
            if (renderer->isValid()) {
                it->second = std::move(renderer);
            }
        }
    }
    return it->second.get();
}

QPixmap sharedImage(int imageId, int side, qreal ratio) {
    static std::map<std::tuple<int, int, qreal>, QPixmap> images;
    const auto key = std::make_tuple(imageId, side, ratio);
    if (auto found = images.find(key); found != images.end()) {
        return found->second;
    }
    QPixmap image(QSize(side, side) * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    if (const QSvgRenderer* renderer = sharedRenderer(imageId)) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const_cast<QSvgRenderer*>(renderer)->render(&painter, QRectF(0, 0, side, side));
    }
    images.emplace(key, image);
    return image;
}

}  // namespace

bool CTitleButton::setImage(int imageId) {
    imageId_ = imageId;
    hasImage_ = sharedRenderer(imageId) != nullptr;
    update();
    return hasImage_;
}

void CTitleButton::paintEvent(QPaintEvent*) {
    if (!hasImage_) {
        return;
    }
    QPainter painter(this);
    // The image keeps its 16 x 16 design size from the top-left corner; a smaller button
    // (the expiration button) shows it scaled to fit.
    const int side = std::min({16, width(), height()});
    if (side > 0) {
        painter.drawPixmap(0, (height() - side) / 2,
                           sharedImage(imageId_, side, devicePixelRatioF()));
    }
}

void CTitleButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click counts as a click of its own.
    mousePressEvent(event);
}

}  // namespace bp
