#pragma once

#include <QDialog>
#include <QString>
#include <QTextBlockFormat>

class QComboBox;
class QSpinBox;
class QTextCursor;
class QTextList;

namespace bp {

// What the paragraph settings dialog shows and returns.
struct ParagraphChoice {
    QString spacing = QStringLiteral("Single");  // "Single", "One and Half", "Double", "Multiple"
    int factor = 1;                              // lines, for "Multiple"
    int numbering = 0;  // 0 none, 1 bullets, 2 1-2-3, 3 a-b-c, 4 A-B-C, 5 i-ii-iii, 6 I-II-III
    int alignment = 0;  // 0 left, 1 right, 2 centre; -1 none of them (justified): left alone
    bool operator==(const ParagraphChoice&) const = default;

    // Line spacing in lines; -1 when the spacing text is none of the four.
    double lineSpacing() const;
};

// Line spacing in twentieths of a line, as stored proportional spacing gives it; 20 when the
// paragraph has no proportional spacing.
int lineSpacingTwentieths(const QTextBlockFormat& format);
int numberingIndex(const QTextList* list);

// The dialog's first state for the paragraph at the cursor's start.
ParagraphChoice choiceForParagraph(const QTextCursor& cursor);
// Applies a confirmed choice to every paragraph of the cursor's selection, as one undo step.
void applyParagraphChoice(QTextCursor& cursor, const ParagraphChoice& choice);

// The paragraph settings dialog.
class CParagraph : public QDialog {
    Q_OBJECT
public:
    explicit CParagraph(QWidget* parent);

    void setChoice(const ParagraphChoice& choice);
    ParagraphChoice choice() const;

    QComboBox* spacingList() const { return spacing_; }
    QSpinBox* factorField() const { return factor_; }
    QComboBox* alignmentList() const { return alignment_; }
    QComboBox* numberingList() const { return numbering_; }

private:
    void updateFactor();

    QComboBox* spacing_;
    QSpinBox* factor_;
    QComboBox* alignment_;
    QComboBox* numbering_;
};

}  // namespace bp
