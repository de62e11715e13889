#include "richtext/QtRichTextEngine.h"

#include "richtext/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>

namespace bp::rtf {

namespace {

// A whole word is bounded by anything that is not a letter or a digit (combining marks belong
// to their letter).
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c.isMark();
}

QString blockText(const QTextBlock& block, QStringView lineBreak) {
    QString text = block.text();
    text.remove(QChar(QChar::ObjectReplacementCharacter));
    text.replace(QChar(QChar::LineSeparator), lineBreak.toString());
    return text;
}

}  // namespace

QString documentPlainText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            text += QStringLiteral("\r\n");
        }
        text += blockText(block, u"\r\n");
    }
    return text;
}

QString documentSearchText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            text += u'\r';
        }
        QString line = block.text();
        line.replace(QChar(QChar::LineSeparator), QChar(0x000B));
        text += line;
    }
    return text;
}

qsizetype findText(QStringView haystack, QStringView needle, bool caseSensitive, bool wholeWord,
                   qsizetype from) {
    if (needle.isEmpty()) {
        return -1;
    }
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype at = haystack.indexOf(needle, from, cs);
    while (at >= 0) {
        if (!wholeWord) {
            return at;
        }
        const qsizetype end = at + needle.size();
        const bool startOk = at == 0 || !isWordChar(haystack[at - 1]) || !isWordChar(needle[0]);
        const bool endOk = end >= haystack.size() || !isWordChar(haystack[end]) ||
                           !isWordChar(needle[needle.size() - 1]);
        if (startOk && endOk) {
            return at;
        }
        at = haystack.indexOf(needle, at + 1, cs);
    }
    return -1;
}

std::string QtRichTextEngine::plainText(std::string_view body) {
    QTextDocument document;
    loadBody(body, document);
    return documentPlainText(document).toStdString();
}

QString searchableText(std::string_view body, bool bodyIsTitleText) {
    QString text = QStringLiteral(" ");
    if (bodyIsTitleText) {
        QTextDocument document;
        loadPlainText(body, document);
        text += documentSearchText(document);
    } else {
        // Building a whole document per note would make a search over many notes slow.
        text += bodySearchText(body);
    }
    return text;
}

long long QtRichTextEngine::find(std::string_view body, bool bodyIsTitleText,
                                 std::string_view needle, bool caseSensitive, bool wholeWord) {
    const QString pattern = QString::fromUtf8(needle.data(), static_cast<qsizetype>(needle.size()));
    if (pattern.isEmpty()) {
        return -1;
    }
    return findText(searchableText(body, bodyIsTitleText), pattern, caseSensitive, wholeWord);
}

}  // namespace bp::rtf
