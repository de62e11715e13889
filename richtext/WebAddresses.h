#pragma once

#include <QList>
#include <QString>

namespace bp::rtf {

struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextRange&) const = default;
};

// Web addresses in a text (scheme-prefixed such as "https://" or "mailto:", and "www." names),
// for showing them as links; the text itself is not changed. Punctuation that ends a sentence
// is not part of an address, a closing parenthesis only when it closes one inside it.
QList<TextRange> findWebAddresses(QStringView text);

}  // namespace bp::rtf
