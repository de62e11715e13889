#include "richtext/WebAddresses.h"

#include <array>

namespace bp::rtf {

namespace {

constexpr std::array<QStringView, 12> kPrefixes = {
    u"http://", u"https://",  u"ftp://",    u"file://", u"mailto:",     u"news:",
    u"nntp://", u"telnet://", u"gopher://", u"wais://", u"prospero://", u"www.",
};

bool endsAddress(QChar c) {
    if (c.isSpace() || c.category() == QChar::Other_Control) {
        return true;
    }
    switch (c.unicode()) {
        case u'<':
        case u'>':
        case u'"':
        case u'{':
        case u'}':
        case u'|':
        case u'^':
        case u'`':
        case 0x00A0:
        case 0x2028:
        case 0x2029:
        case 0xFFFC:
            return true;
        default:
            return false;
    }
}

bool isTrailingPunctuation(QChar c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' ||
           c == u'\'' || c == u')' || c == u']';
}

// The address must start a word: "xhttp://" is no address, "(http://" is.
bool startsWord(QStringView text, qsizetype at) {
    return at == 0 || !(text[at - 1].isLetterOrNumber() || text[at - 1] == u'_');
}

}  // namespace

QList<TextRange> findWebAddresses(QStringView text) {
    QList<TextRange> ranges;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype prefixLength = 0;
        if (startsWord(text, i)) {
            for (QStringView prefix : kPrefixes) {
                if (text.mid(i).startsWith(prefix, Qt::CaseInsensitive)) {
                    prefixLength = prefix.size();
                    break;
                }
            }
        }
        if (prefixLength == 0) {
            ++i;
            continue;
        }
        qsizetype end = i + prefixLength;
        while (end < text.size() && !endsAddress(text[end])) {
            ++end;
        }
        // Trim sentence punctuation; keep a ')' or ']' that closes a bracket of the address.
        // The brackets are counted once, so an address ending in a long run of them costs no
        // more than its length.
        const QStringView address = text.mid(i, end - i);
        qsizetype parens = address.count(u'(') - address.count(u')');
        qsizetype squares = address.count(u'[') - address.count(u']');
        while (end > i + prefixLength && isTrailingPunctuation(text[end - 1])) {
            const QChar last = text[end - 1];
            if (last == u')' || last == u']') {
                qsizetype& open = last == u')' ? parens : squares;
                // Opening brackets before it outnumber the closing ones before it.
                if (open + 1 > 0) {
                    break;
                }
                ++open;
            }
            --end;
        }
        if (end > i + prefixLength) {
            ranges.append({i, end - i});
        }
        i = std::max(end, i + prefixLength);
    }
    return ranges;
}

}  // namespace bp::rtf
