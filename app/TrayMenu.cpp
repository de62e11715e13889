#include "TrayMenu.h"

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
const QString kProductName = QStringLiteral("Bright Post");

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
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, kProductName);
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
    // What a StatusNotifier host shows in the band's place in the exported menu.
    header->setText(kProductName);
    addAction(header);

    addItem(this, QStringLiteral("Notes Manager"), Item::NotesManager,
            QStringLiteral(":/icons/menu-manager.svg"));

    notesMenu_ = new QMenu(QStringLiteral("Notes"), this);
    addItem(notesMenu_, QStringLiteral("Show All"), Item::ShowAll);
    addItem(notesMenu_, QStringLiteral("Close All"), Item::HideAll);
    notesMenu_->addSeparator();
    addItem(notesMenu_, QStringLiteral("Cascade All"), Item::CascadeAll);
    addItem(notesMenu_, QStringLiteral("Minimize All"), Item::MinimizeAll);
    notesMenu_->addSeparator();
    addItem(notesMenu_, QStringLiteral("New Note"), Item::NewNote);
    addMenu(notesMenu_);
    addSeparator();

    settingsMenu_ = new QMenu(QStringLiteral("Settings"), this);
    settingsMenu_->setIcon(QIcon(QStringLiteral(":/icons/menu-settings.svg")));
    addItem(settingsMenu_, QStringLiteral("App Settings"), Item::AppSettings);
    addItem(settingsMenu_, QStringLiteral("Notes Settings"), Item::NotesSettings);
    addMenu(settingsMenu_);
    addSeparator();

    addItem(this, QStringLiteral("Find"), Item::Find, QStringLiteral(":/icons/menu-find.svg"));
    addSeparator();
    addItem(this, QStringLiteral("Import Notes"), Item::importNotes);
    addItem(this, QStringLiteral("Export Notes"), Item::exportNotes);
    addSeparator();
    addItem(this, QStringLiteral("Recycle Bin"), Item::RecycleBin,
            QStringLiteral(":/icons/menu-recycle-bin.svg"));
    addSeparator();
    addItem(this, QStringLiteral("About"), Item::About);
    addItem(this, QStringLiteral("On-line Help"), Item::OnlineHelp);
    addSeparator();
    addItem(this, QStringLiteral("Save"), Item::Save, QStringLiteral(":/icons/menu-save.svg"));
    addSeparator();
    addItem(this, QStringLiteral("Exit"), Item::Exit);
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::addItem(QMenu* menu, const QString& text, Item item, const QString& icon) {
    QAction* action = menu->addAction(text);
    if (!icon.isEmpty()) {
        action->setIcon(QIcon(icon));
        action->setIconVisibleInMenu(true);
    }
    actions_[static_cast<std::size_t>(item)] = action;
}

void TrayMenu::prepare(bool recycleBinEnabled, const std::string& newNoteKey,
                       const std::string& showAllKey, const std::string& hideAllKey) {
    action(Item::RecycleBin)->setEnabled(recycleBinEnabled);
    // After the tab the key goes into the menu's shortcut column.
    action(Item::ShowAll)
        ->setText(QStringLiteral("Show All Notes\t") + QString::fromStdString(showAllKey));
    action(Item::HideAll)
        ->setText(QStringLiteral("Hide All Notes\t") + QString::fromStdString(hideAllKey));
    action(Item::NewNote)
        ->setText(QStringLiteral("New Note\t") + QString::fromStdString(newNoteKey));
}

}  // namespace bp
