#include "DeleteNoteDialog.h"

#include "platform/Messages.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace bp {

QString CDeleteNote::priorityWord(const QString& storedPriority) {
    if (storedPriority == QLatin1String("0")) {
        return QStringLiteral("low");
    }
    if (storedPriority == QLatin1String("1")) {
        return QStringLiteral("regular");
    }
    if (storedPriority == QLatin1String("2")) {
        return QStringLiteral("high");
    }
    return {};
}

CDeleteNote::CDeleteNote(QWidget* parent, const QString& title, const QString& created,
                         const QString& storedPriority)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Warning"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    auto* group = new QGroupBox(QStringLiteral("Delete note"), this);
    text_ = new QTextEdit(group);
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = text_->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Button));
    text_->setPalette(p);
    text_->setPlainText(QStringLiteral("title: %1\ncreated: %2\npriority: %3\n")
                            .arg(title, created, priorityWord(storedPriority)));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(text_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* yes = buttons->addButton(QDialogButtonBox::Yes);
    QPushButton* no = buttons->addButton(QDialogButtonBox::No);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    // Enter alone must never delete a note.
    no->setDefault(true);
    no->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    fixDialogSize(*this, QSize(300, 180));
}

QString CDeleteNote::text() const {
    return text_->toPlainText();
}

}  // namespace bp
