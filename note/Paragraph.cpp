#include "Paragraph.h"

#include "richtext/RichText.h"
#include "ui/DialogLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cmath>
#include <vector>

namespace bp {

namespace {

const QStringList kSpacings = {QStringLiteral("Single"), QStringLiteral("One and Half"),
                               QStringLiteral("Double"), QStringLiteral("Multiple")};

// Hanging indent of list paragraphs, in twips: the marker at 360, the text at 720.
constexpr int kListIndentTwips = 360;

QTextListFormat::Style styleOf(int numbering) {
    switch (numbering) {
        case 1:
            return QTextListFormat::ListDisc;
        case 3:
            return QTextListFormat::ListLowerAlpha;
        case 4:
            return QTextListFormat::ListUpperAlpha;
        case 5:
            return QTextListFormat::ListLowerRoman;
        case 6:
            return QTextListFormat::ListUpperRoman;
        default:
            return QTextListFormat::ListDecimal;
    }
}

int alignmentIndex(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify) {
        return -1;
    }
    if (horizontal & Qt::AlignHCenter) {
        return 2;
    }
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) {
        return 1;
    }
    return 0;
}

}  // namespace

double ParagraphChoice::lineSpacing() const {
    if (spacing == kSpacings[0])
        return 1.0;
    if (spacing == kSpacings[1])
        return 1.5;
    if (spacing == kSpacings[2])
        return 2.0;
    if (spacing == kSpacings[3])
        return factor;
    return -1.0;
}

int lineSpacingTwentieths(const QTextBlockFormat& format) {
    if (format.lineHeightType() != QTextBlockFormat::ProportionalHeight) {
        return 20;
    }
    return static_cast<int>(std::lround(format.lineHeight() / 5.0));
}

int numberingIndex(const QTextList* list) {
    if (list == nullptr) {
        return 0;
    }
    switch (list->format().style()) {
        case QTextListFormat::ListDecimal:
            return 2;
        case QTextListFormat::ListLowerAlpha:
            return 3;
        case QTextListFormat::ListUpperAlpha:
            return 4;
        case QTextListFormat::ListLowerRoman:
            return 5;
        case QTextListFormat::ListUpperRoman:
            return 6;
        default:
            return 1;
    }
}

ParagraphChoice choiceForParagraph(const QTextCursor& cursor) {
    QTextCursor at(cursor.document());
    at.setPosition(cursor.selectionStart());
    ParagraphChoice choice;
    const int spacing = lineSpacingTwentieths(at.blockFormat());
    if (spacing == 20) {
        choice.spacing = kSpacings[0];
    } else if (spacing == 30) {
        choice.spacing = kSpacings[1];
    } else if (spacing == 40) {
        choice.spacing = kSpacings[2];
    } else if (spacing > 40) {
        choice.spacing = kSpacings[3];
        choice.factor = spacing / 20;
    }
    choice.numbering = numberingIndex(at.currentList());
    choice.alignment = alignmentIndex(at.blockFormat().alignment());
    return choice;
}

void applyParagraphChoice(QTextCursor& cursor, const ParagraphChoice& choice) {
    QTextDocument* document = cursor.document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    std::vector<QTextBlock> blocks;
    const int end = cursor.selectionEnd();
    for (QTextBlock b = document->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        blocks.push_back(b);
        if (b.position() + b.length() > end) {
            break;
        }
    }

    QTextBlockFormat change;
    const double lines = choice.lineSpacing();
    if (lines >= 0) {
        change.setTopMargin(0);
        change.setBottomMargin(0);
        const int twentieths = static_cast<int>(lines * 20);
        change.setLineHeight(twentieths * 5.0, QTextBlockFormat::ProportionalHeight);
    }
    const bool listed = choice.numbering > 0;
    change.setLeftMargin(listed ? 2 * kListIndentTwips / rtf::kTwipsPerPixel : 0);
    change.setTextIndent(listed ? -kListIndentTwips / rtf::kTwipsPerPixel : 0);
    if (choice.alignment == 0) {
        change.setAlignment(Qt::AlignLeft);
    } else if (choice.alignment == 1) {
        change.setAlignment(Qt::AlignRight);
    } else if (choice.alignment == 2) {
        change.setAlignment(Qt::AlignHCenter);
    }
    for (const QTextBlock& b : blocks) {
        edit.setPosition(b.position());
        edit.mergeBlockFormat(change);
    }

    if (!listed) {
        for (const QTextBlock& b : blocks) {
            if (QTextList* list = b.textList()) {
                list->remove(b);
            }
        }
    } else {
        QTextList* list = blocks.front().textList();
        QTextListFormat format = list != nullptr ? list->format() : QTextListFormat();
        format.setIndent(1);
        format.setStyle(styleOf(choice.numbering));
        if (choice.numbering == 1) {
            format.setNumberPrefix(QString());
            format.setNumberSuffix(QString());
            format.clearProperty(rtf::kListStartProperty);
        } else {
            format.setNumberSuffix(QStringLiteral("."));
            // Arabic and roman numbers count from one; letters keep whatever start they had.
            if (choice.numbering == 2 || choice.numbering == 5 || choice.numbering == 6) {
                format.setProperty(rtf::kListStartProperty, 1);
            }
        }
        if (list != nullptr) {
            list->setFormat(format);
        } else {
            edit.setPosition(blocks.front().position());
            list = edit.createList(format);
        }
        for (const QTextBlock& b : blocks) {
            if (b.textList() != list) {
                if (QTextList* other = b.textList()) {
                    other->remove(b);
                }
                list->add(b);
            }
        }
    }
    edit.endEditBlock();
}

CParagraph::CParagraph(QWidget* parent)
    : QDialog(parent),
      spacing_(new QComboBox(this)),
      factor_(new QSpinBox(this)),
      alignment_(new QComboBox(this)),
      numbering_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Paragraph Settings"));
    spacing_->setObjectName(QStringLiteral("lineSpacing"));
    factor_->setObjectName(QStringLiteral("factor"));
    alignment_->setObjectName(QStringLiteral("alignment"));
    numbering_->setObjectName(QStringLiteral("numbering"));
    spacing_->addItems(kSpacings);
    factor_->setRange(1, 100);
    alignment_->addItems(
        {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")});
    numbering_->addItems({QStringLiteral("None"), QStringLiteral("Bulleted"),
                          QStringLiteral("1, 2, 3, ..."), QStringLiteral("a, b, c, ..."),
                          QStringLiteral("A, B, C, ..."), QStringLiteral("i, ii, iii, ..."),
                          QStringLiteral("I, II, III, ...")});
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Line Spacing"), spacing_);
    form->addRow(QString(), factor_);
    factor_->setAccessibleName(QStringLiteral("Line Spacing factor"));
    form->addRow(QStringLiteral("Alignment"), alignment_);
    form->addRow(QStringLiteral("Bulleted and Numbered Lists"), numbering_);
    layOutFormWithOkCancel(*this, form);
    connect(spacing_, &QComboBox::currentIndexChanged, this, [this] { updateFactor(); });
    setChoice(ParagraphChoice{});
    fixDialogSize(*this);
}

void CParagraph::updateFactor() {
    factor_->setEnabled(spacing_->currentText() == kSpacings[3]);
}

void CParagraph::setChoice(const ParagraphChoice& choice) {
    spacing_->setCurrentIndex(std::max(0, static_cast<int>(kSpacings.indexOf(choice.spacing))));
    factor_->setValue(choice.factor);
    numbering_->setCurrentIndex(choice.numbering);
    alignment_->setCurrentIndex(choice.alignment);
    updateFactor();
}

ParagraphChoice CParagraph::choice() const {
    ParagraphChoice choice;
    choice.spacing = spacing_->currentText();
    choice.factor = factor_->value();
    choice.numbering = std::max(0, numbering_->currentIndex());
    choice.alignment = alignment_->currentIndex();
    return choice;
}

}  // namespace bp
