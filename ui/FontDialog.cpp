#include "FontDialog.h"

#include "DialogLayout.h"

#include <QAccessible>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace bp {

namespace {

// The font the dialog's lists can show: a face the system knows (the one it draws with when it
// does not know the requested one) and a size in points.
QFont displayableFont(const QFont& font) {
    const QFontInfo drawn(font);
    QFont shown = font;
    const QString requested = font.families().value(0, font.family());
    if (!QFontDatabase::families().contains(requested, Qt::CaseInsensitive)) {
        shown.setFamilies({drawn.family()});
    }
    if (font.pointSizeF() <= 0) {
        shown.setPointSize(std::max(1, static_cast<int>(std::lround(drawn.pointSizeF()))));
    }
    return shown;
}

}  // namespace

CFontDialog::CFontDialog(QWidget* parent, const FontChoice& initial)
    : QDialog(parent), color_(initial.color) {
    setWindowTitle(QStringLiteral("Font"));
    requestedFamily_ = initial.font.families().value(0, initial.font.family());
    const QFont shown = displayableFont(initial.font);
    shownFamily_ = shown.families().value(0, shown.family());

    fonts_ = new QFontDialog(this);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setCurrentFont(shown);
    fonts_->installEventFilter(this);
    // The toolkit's chooser names its family and style lists by their labels, but its size
    // label points at the size field, which leaves the size list without a name.
    for (QListView* list : fonts_->findChildren<QListView*>()) {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(list);
        if (list->window() == fonts_->window() && reader != nullptr &&
            reader->text(QAccessible::Name).isEmpty()) {
            list->setAccessibleName(QStringLiteral("Size"));
        }
    }

    colorButton_ = new QPushButton(this);
    colorButton_->setObjectName(QStringLiteral("color"));
    colorButton_->setText(QStringLiteral("Color..."));
    connect(colorButton_, &QPushButton::clicked, this, &CFontDialog::pickColor);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("Color"), this));
    colorRow->addWidget(colorButton_);
    colorRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    setColor(initial.color);
    fixDialogSize(*this);
}

void CFontDialog::setColor(const QColor& color) {
    color_ = color;
    QPixmap swatch(24, 12);
    swatch.fill(color_);
    colorButton_->setIcon(QIcon(swatch));
    colorButton_->setIconSize(swatch.size());
}

void CFontDialog::pickColor() {
    const QColor chosen = QColorDialog::getColor(color_, this);
    if (chosen.isValid()) {
        setColor(chosen);
    }
}

bool CFontDialog::eventFilter(QObject* watched, QEvent* event) {
    // The font lists are a dialog of their own: Escape would close only them and Enter would
    // find no button there. Both go to this dialog.
    if (watched == fonts_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            switch (key->key()) {
                case Qt::Key_Escape:
                    reject();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    accept();
                    return true;
                default:
                    break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

QFont CFontDialog::shownFont() const {
    return fonts_->currentFont();
}

FontChoice CFontDialog::choice() const {
    QFont font = fonts_->currentFont();
    if (font.families().value(0, font.family()) == shownFamily_) {
        font.setFamilies({requestedFamily_});
    }
    return {font, color_};
}

}  // namespace bp
