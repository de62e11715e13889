#include "TransparencyDialog.h"

#include "DialogLayout.h"
#include "MessageBoxes.h"
#include "platform/Messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace bp {

int CTransparency::positionFor(int level) {
    return std::clamp(255 - level, 0, kMaximum);
}

CTransparency::CTransparency(QWidget* parent, IWindowSystem& windows, std::vector<QWidget*> targets,
                             bool transparent, int position)
    : QDialog(parent), windows_(windows), targets_(std::move(targets)) {
    setWindowTitle(QStringLiteral("Transparency"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    auto* group = new QGroupBox(this);
    check_ = new QCheckBox(QStringLiteral("Transparency"), group);
    slider_ = new QSlider(Qt::Horizontal, group);
    slider_->setRange(0, kMaximum);
    slider_->setAccessibleName(QStringLiteral("Transparency level"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("MIN"), group));
    row->addWidget(slider_, 1);
    row->addWidget(new QLabel(QStringLiteral("MAX"), group));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(check_);
    groupLayout->addLayout(row);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    check_->setChecked(transparent);
    slider_->setValue(std::clamp(position, 0, kMaximum));
    connect(check_, &QCheckBox::toggled, this, &CTransparency::applyToTargets);
    connect(slider_, &QSlider::valueChanged, this, &CTransparency::applyToTargets);
    if (targets_.empty()) {
        // With nothing to preview on, the dialog shows the setting on itself.
        targets_.push_back(this);
    }
    fixDialogSize(*this);
}

bool CTransparency::transparent() const {
    return check_->isChecked();
}

int CTransparency::position() const {
    return slider_->value();
}

void CTransparency::setTransparent(bool on) {
    check_->setChecked(on);
}

void CTransparency::setPosition(int position) {
    slider_->setValue(position);
}

void CTransparency::applyToTargets() {
    const double opacity = transparent() ? levelFor(position()) / 255.0 : 1.0;
    for (QWidget* target : targets_) {
        if (target != nullptr) {
            windows_.setOpacity(target, opacity);
        }
    }
}

}  // namespace bp
