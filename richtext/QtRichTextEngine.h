#pragma once

#include "richtext/RichTextEngine.h"

#include <QString>

class QTextDocument;

namespace bp::rtf {

// The rich-text engine on QTextDocument. Holds no state between calls; every call loads the
// body into a fresh document.
class QtRichTextEngine : public IRichTextEngine {
public:
    std::string plainText(std::string_view body) override;
    long long find(std::string_view body, bool bodyIsTitleText, std::string_view needle,
                   bool caseSensitive, bool wholeWord) override;
};

// The visible text of a document: paragraphs joined by "\r\n", line breaks inside a paragraph
// as "\r\n" too, embedded pictures left out.
QString documentPlainText(const QTextDocument& document);

// The text the note search runs over: paragraphs end in a single "\r" as in the note's edit
// control, so positions match its character positions.
QString documentSearchText(const QTextDocument& document);

// The text find() searches: a blank, then the title (plain UTF-8) or the stored body as the
// note's edit control holds it.
QString searchableText(std::string_view body, bool bodyIsTitleText);

// The first match at or after `from`, or -1. A whole word has no letter or digit on either
// side.
qsizetype findText(QStringView haystack, QStringView needle, bool caseSensitive, bool wholeWord,
                   qsizetype from = 0);

}  // namespace bp::rtf
