#include "TrayMenu.h"

#include "platform/Messages.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QWidgetAction>

namespace bp {

namespace {

constexpr int kItemHeight = 32;
constexpr int kHeaderHeight = 32;
constexpr int kSeparatorHeight = 6;
constexpr int kMinTextWidth = 150;
constexpr int kIconColumn = 32;
constexpr int kExtraWidth = 32;
constexpr int kTextLeft = 37;
const QColor kBackground(43, 43, 43);
const QColor kSelectedBackground(65, 65, 65);

// Draws the top level of the tray menu in the program's dark style. The submenus keep the
// desktop's own look.
class TrayMenuStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
            case PM_SmallIconSize:
                return kIconColumn;
            case PM_MenuPanelWidth:
            case PM_MenuHMargin:
            case PM_MenuVMargin:
            case PM_MenuDesktopFrameWidth:
                return 0;
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || item == nullptr) {
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        }
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            return {kMinTextWidth + kIconColumn + kExtraWidth, kSeparatorHeight};
        }
        const QString text = item->text.section(QLatin1Char('\t'), 0, 0);
        const int textWidth = item->fontMetrics.horizontalAdvance(text);
        return {std::max(kMinTextWidth, textWidth) + kIconColumn + kExtraWidth, kItemHeight};
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelMenu || element == PE_FrameMenu) {
            painter->fillRect(option->rect, kBackground);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuEmptyArea) {
            painter->fillRect(option->rect, kBackground);
            return;
        }
        if (element != CE_MenuItem || item == nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const QRect r = item->rect;
        painter->save();
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            painter->fillRect(r, kBackground);
            painter->setPen(item->palette.color(QPalette::Shadow));
            const int y = r.top() + r.height() / 2;
            painter->drawLine(r.left() + 2, y, r.right() - 2, y);
            painter->restore();
            return;
        }
        const bool enabled = (item->state & State_Enabled) != 0;
        const bool selected = enabled && (item->state & State_Selected) != 0;
        painter->fillRect(r, selected ? kSelectedBackground : kBackground);
        if (!item->icon.isNull()) {
            const QRect iconRect(r.left(), r.top() + (r.height() - kIconColumn) / 2, kIconColumn,
                                 kIconColumn);
            item->icon.paint(painter, iconRect, Qt::AlignCenter,
                             enabled ? QIcon::Normal : QIcon::Disabled);
        }
        QColor text = Qt::white;
        if (!enabled) {
            text = item->palette.color(QPalette::Disabled, QPalette::WindowText);
        } else if (selected) {
            text = item->palette.color(QPalette::Active, QPalette::HighlightedText);
        }
        painter->setPen(text);
        const QRect textRect(r.left() + kTextLeft, r.top(), r.width() - kTextLeft - 20, r.height());
        painter->drawText(
            textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
            item->text.section(QLatin1Char('\t'), 0, 0));
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
            QStyleOption arrow = *option;
            arrow.rect = QRect(r.right() - 16, r.top() + (r.height() - 10) / 2, 10, 10);
            arrow.palette.setColor(QPalette::ButtonText, text);
            arrow.palette.setColor(QPalette::WindowText, text);
            QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
        }
        painter->restore();
    }
};

// The band at the top of the menu with the product name.
class HeaderBand : public QWidget {
public:
    explicit HeaderBand(QWidget* parent) : QWidget(parent) {
        setFixedHeight(kHeaderHeight);
        setMinimumWidth(kMinTextWidth + kIconColumn + kExtraWidth);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
                         QStringLiteral("Bright Post"));
    }
};

}  // namespace

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
    auto* style = new TrayMenuStyle;
    style->setParent(this);
    setStyle(style);
    setObjectName(QStringLiteral("trayMenu"));

    auto* header = new QWidgetAction(this);
    header->setDefaultWidget(new HeaderBand(this));
    header->setEnabled(false);
    addAction(header);

    addCommand(this, QStringLiteral("Notes Manager"), cmd::SHOW_MANAGER,
               QStringLiteral(":/icons/menu-manager.svg"));

    notesMenu_ = new QMenu(QStringLiteral("Notes"), this);
    addCommand(notesMenu_, QStringLiteral("Show All"), cmd::SHOW_ALL);
    addCommand(notesMenu_, QStringLiteral("Close All"), cmd::HIDE_ALL);
    notesMenu_->addSeparator();
    addCommand(notesMenu_, QStringLiteral("Cascade All"), cmd::CASCADE_ALL);
    addCommand(notesMenu_, QStringLiteral("Minimize All"), cmd::MINIMIZE_ALL);
    notesMenu_->addSeparator();
    addCommand(notesMenu_, QStringLiteral("New Note"), cmd::NEW_NOTE);
    addMenu(notesMenu_);
    addSeparator();

    settingsMenu_ = new QMenu(QStringLiteral("Settings"), this);
    settingsMenu_->setIcon(QIcon(QStringLiteral(":/icons/menu-settings.svg")));
    addCommand(settingsMenu_, QStringLiteral("App Settings"), cmd::APP_SETTINGS);
    addCommand(settingsMenu_, QStringLiteral("Notes Settings"), cmd::NOTES_SETTINGS);
    addMenu(settingsMenu_);
    addSeparator();

    addCommand(this, QStringLiteral("Find"), cmd::FIND, QStringLiteral(":/icons/menu-find.svg"));
    addSeparator();
    addCommand(this, QStringLiteral("Import Notes"), cmd::IMPORT_NOTES);
    addCommand(this, QStringLiteral("Export Notes"), cmd::EXPORT_NOTES);
    addSeparator();
    addCommand(this, QStringLiteral("Recycle Bin"), cmd::RECYCLE_BIN,
               QStringLiteral(":/icons/menu-recycle-bin.svg"));
    addSeparator();
    addCommand(this, QStringLiteral("About"), cmd::ABOUT);
    addCommand(this, QStringLiteral("On-line Help"), cmd::ONLINE_HELP);
    addSeparator();
    addCommand(this, QStringLiteral("Save"), cmd::SAVE_ALL,
               QStringLiteral(":/icons/menu-save.svg"));
    addSeparator();
    addCommand(this, QStringLiteral("Exit"), cmd::EXIT);
}

TrayMenu::~TrayMenu() = default;

QAction* TrayMenu::addCommand(QMenu* menu, const QString& text, int command, const QString& icon) {
    QAction* action = menu->addAction(text);
    action->setData(command);
    if (!icon.isEmpty()) {
        action->setIcon(QIcon(icon));
        action->setIconVisibleInMenu(true);
    }
    connect(action, &QAction::triggered, this, [this, command] { emit commandChosen(command); });
    return action;
}

QAction* TrayMenu::actionFor(int command) const {
    for (const QMenu* menu :
         {static_cast<const QMenu*>(this), static_cast<const QMenu*>(notesMenu_),
          static_cast<const QMenu*>(settingsMenu_)}) {
        for (QAction* action : menu->actions()) {
            if (action->data().isValid() && action->data().toInt() == command) {
                return action;
            }
        }
    }
    return nullptr;
}

void TrayMenu::prepare(bool recycleBinEnabled, const std::string& newNoteKey,
                       const std::string& showAllKey, const std::string& hideAllKey) {
    actionFor(cmd::RECYCLE_BIN)->setEnabled(recycleBinEnabled);
    // After the tab the key goes into the menu's shortcut column.
    actionFor(cmd::SHOW_ALL)
        ->setText(QStringLiteral("Show All Notes\t") + QString::fromStdString(showAllKey));
    actionFor(cmd::HIDE_ALL)
        ->setText(QStringLiteral("Hide All Notes\t") + QString::fromStdString(hideAllKey));
    actionFor(cmd::NEW_NOTE)
        ->setText(QStringLiteral("New Note\t") + QString::fromStdString(newNoteKey));
}

}  // namespace bp
