#include "HitContext.h"

#include "richtext/QtRichTextEngine.h"

#include <algorithm>

namespace bp {

namespace {

constexpr qsizetype kBefore = 24;
constexpr qsizetype kAfter = 40;

bool isBreak(QChar c) {
    // Paragraph ends, line breaks and pictures of the search text read as one blank.
    return c.isSpace() || c == QChar(0x0B) || c == QChar::ObjectReplacementCharacter ||
           c.category() == QChar::Other_Control;
}

}  // namespace

QString hitContext(QStringView text, QStringView needle, bool matchCase, bool wholeWord) {
    const qsizetype at = rtf::findText(text, needle, matchCase, wholeWord);
    if (at < 0) {
        return {};
    }
    qsizetype first = std::max<qsizetype>(0, at - kBefore);
    qsizetype end = std::min(text.size(), at + needle.size() + kAfter);
    // Not half a character: a surrogate pair stays whole.
    if (first > 0 && text[first].isLowSurrogate()) {
        --first;
    }
    if (end < text.size() && text[end].isLowSurrogate()) {
        ++end;
    }
    QString shown;
    shown.reserve(end - first + 2);
    for (qsizetype i = first; i < end; ++i) {
        shown.append(isBreak(text[i]) ? QChar(u' ') : text[i]);
    }
    shown = shown.simplified();
    if (first > 0) {
        shown.prepend(QChar(0x2026));
    }
    if (end < text.size()) {
        shown.append(QChar(0x2026));
    }
    return shown;
}

}  // namespace bp
