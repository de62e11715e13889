#pragma once

#include <QString>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

namespace bp::markdown {

// Markdown into a note's own formatting and back. Reading goes through the CommonMark
// reference parser (libcmark); ~~strike~~ and "[ ]" task items, which its core leaves as
// text, are handled here. A heading is bold text larger than the body, a code span the
// monospaced face, a task item a checklist item; bullets and numbers are the body's lists.

// The face code spans are set in; any fixed-pitch face reads back as code.
QString codeFamily();

// The heading level bold text of pointSize shows in a body of bodyPoints: 1 to 4, 0 for none.
int headingLevel(double pointSize, double bodyPoints);
double headingPointSize(int level, double bodyPoints);

// Replaces the cursor's selection by the Markdown, as one undo step. `base` is the format
// plain text gets (the note's body font and colour); its point size is the body's.
void insertMarkdown(QTextCursor& cursor, const QString& markdown, const QTextCharFormat& base);

// The Markdown of the whole document, or of the cursor's selection. The body's size is the
// document's default font's.
QString toMarkdown(const QTextDocument& document);
QString selectionToMarkdown(const QTextCursor& selection);

// Whether plain text is plainly Markdown rather than text that happens to hold a star: a
// heading, a task item, a link, a fenced code block, bold or strike pairs, or two list lines.
bool looksLikeMarkdown(const QString& text);

}  // namespace bp::markdown
