#pragma once

#include "richtext/RichText.h"

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextListFormat>

namespace bp::rtf {

struct ListProps {
    enum class Kind { None, Bullet, Numbered };
    Kind kind = Kind::None;
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    QString prefix;
    QString suffix;
    int start = -1;
    int override = 0;  // Word's \ls: paragraphs of one list share it
    int level = 0;
    bool operator==(const ListProps&) const = default;
};

struct ParaProps {
    enum class Align { Left, Center, Right, Justify };
    Align align = Align::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    int lineMultiple = 0;
    bool rightToLeft = false;
    ListProps list;
    bool operator==(const ParaProps&) const = default;
};

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    QColor foreground;  // invalid: automatic
    QColor background;
    enum class Script { Normal, Super, Sub };
    Script script = Script::Normal;
    QFont::Capitalization caps = QFont::MixedCase;
    bool operator==(const CharProps&) const = default;
};

QTextBlockFormat toBlockFormat(const ParaProps& para);
// The inverse for the writer; the list part is left empty.
ParaProps fromBlockFormat(const QTextBlockFormat& format);

QTextListFormat toListFormat(const ListProps& list);
ListProps fromListFormat(const QTextListFormat& format);

bool isBulletStyle(QTextListFormat::Style style);

}  // namespace bp::rtf
