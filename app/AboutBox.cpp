#include "AboutBox.h"

#include "ProductInfo.h"
#include "TrayText.h"
#include "platform/Shell.h"
#include "ui/DialogLayout.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

CAboutBox::CAboutBox(IShell* shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setWindowTitle(QString::fromLatin1(kProductName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tray.svg")));
    setObjectName(QStringLiteral("aboutBox"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tray.svg")).pixmap(32, 32));

    productLink_ = new QLabel(QStringLiteral("Bright Post"), this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(24);
    productLink_->setFont(font);
    QPalette palette = productLink_->palette();
    palette.setColor(QPalette::WindowText, readableTextColor(QColor(43, 43, 43), palette));
    productLink_->setPalette(palette);
    productLink_->setCursor(Qt::PointingHandCursor);
    productLink_->setToolTip(QString::fromLatin1(kProductWebSite));
    productLink_->installEventFilter(this);

    version_ = new QLineEdit(QString::fromStdString(aboutVersionText()), this);
    version_->setReadOnly(true);
    version_->setAccessibleName(QStringLiteral("Version"));
    version_->setAlignment(Qt::AlignCenter);
    version_->setFrame(false);

    notice_ = new QLabel(QStringLiteral("Copyright \u00a9 2024 the Brightpost developers.\n"
                                        "Free software, provided without any warranty."),
                         this);
    notice_->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(productLink_, 1, Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(version_);
    layout->addWidget(notice_);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

void CAboutBox::openWebSite() {
    if (shell_ != nullptr) {
        shell_->open(kProductWebSite);
    }
}

bool CAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == productLink_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openWebSite();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace bp
