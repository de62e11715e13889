#include "DialogLayout.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QPalette>
#include <QVBoxLayout>

#include <cstdlib>

namespace bp {

void layOutFormWithOkCancel(QDialog& dialog, QFormLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int captionRoom(const QString& caption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    // Window managers draw titles in a font of their own; the application's font in bold is
    // a fair measure. Beside the text: the window icon, up to three buttons and padding.
    constexpr int kIconAndButtons = 130;
    return QFontMetrics(bold).horizontalAdvance(caption) + kIconAndButtons;
}

void offerOnlyCloseButton(QWidget& window) {
    Qt::WindowFlags flags = window.windowFlags();
    flags &= ~(Qt::WindowContextHelpButtonHint | Qt::WindowMaximizeButtonHint |
               Qt::WindowMinimizeButtonHint);
    // Without the customize hint the window manager's defaults come back, buttons and all.
    flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
    window.setWindowFlags(flags);
}

void fixDialogSize(QDialog& dialog, QSize preferred) {
    offerOnlyCloseButton(dialog);
    const QSize wanted = (preferred.isValid() ? preferred : dialog.sizeHint())
                             .expandedTo(QSize(captionRoom(dialog.windowTitle()), 0));
    dialog.setFixedSize(wanted.expandedTo(dialog.minimumSizeHint()));
}

QColor readableTextColor(const QColor& preferred, const QPalette& palette) {
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    // Lightness apart by at least half the scale reads well on any screen.
    if (std::abs(preferred.lightness() - window.lightness()) >= 128) {
        return preferred;
    }
    return palette.color(QPalette::Active, QPalette::WindowText);
}

}  // namespace bp
