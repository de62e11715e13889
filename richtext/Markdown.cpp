#include "richtext/Markdown.h"

#include "richtext/Checklist.h"
#include "richtext/RichText.h"
#include "richtext/RtfFormats.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>

#include <cmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace bp::markdown {

namespace {

// A list paragraph's margins, as the paragraph dialog gives them: marker at 360 twips, text
// at 720.
constexpr double kListMarkerPixels = 360 / rtf::kTwipsPerPixel;

constexpr std::array<double, 4> kHeadingScale = {2.0, 1.6, 1.3, 1.15};

const QColor kLinkColor(0, 0, 255);

// The parser joins an escaped "\~" into the text around it, where it could no longer be
// told from a strike's "~~"; it is read as this private character instead.
constexpr QChar kEscapedTilde(0xE000);

QString withEscapedTildesMarked(const QString& markdown) {
    QString marked = markdown;
    return marked.replace(QStringLiteral("\\~"), QString(kEscapedTilde));
}

// A literal's text as written: in code an escape is no escape.
QString codeLiteral(QString text) {
    return text.replace(kEscapedTilde, QStringLiteral("\\~"));
}

QString literalOf(cmark_node* node) {
    const char* text = cmark_node_get_literal(node);
    return text != nullptr ? QString::fromUtf8(text) : QString();
}

double pointsOf(const QTextCharFormat& format, const QTextDocument& document) {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        return format.fontPointSize();
    }
    const double points = document.defaultFont().pointSizeF();
    return points > 0 ? points : 12.0;
}

bool isCode(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    if (families.isEmpty()) {
        return false;
    }
    const QString& family = families.first();
    static const QStringList kFixed = {codeFamily(),
                                       QStringLiteral("Courier"),
                                       QStringLiteral("Liberation Mono"),
                                       QStringLiteral("DejaVu Sans Mono"),
                                       QStringLiteral("Monospace"),
                                       QStringLiteral("Consolas")};
    return kFixed.contains(family, Qt::CaseInsensitive) || format.fontFixedPitch();
}

// ---- Markdown in ----

class Importer {
public:
    Importer(QTextCursor& cursor, const QTextCharFormat& base)
        : cursor_(cursor),
          base_(base),
          bodyPoints_(base.fontPointSize() > 0 ? base.fontPointSize()
                                               : pointsOf(base, *cursor.document())) {
        base_.setFontStrikeOut(false);
        base_.setAnchor(false);
        base_.clearProperty(QTextFormat::AnchorHref);
    }

    void run(cmark_node* document) {
        cursor_.beginEditBlock();
        cursor_.removeSelectedText();
        blocks(document, 0);
        cursor_.endEditBlock();
    }

private:
    void blocks(cmark_node* parent, int level) {
        for (cmark_node* node = cmark_node_first_child(parent); node != nullptr;
             node = cmark_node_next(node)) {
            block(node, level);
        }
    }

    void block(cmark_node* node, int level) {
        switch (cmark_node_get_type(node)) {
            case CMARK_NODE_PARAGRAPH:
                startParagraph(QTextBlockFormat(), nullptr, true);
                paragraphInlines(node, base_);
                break;
            case CMARK_NODE_HEADING: {
                startParagraph(QTextBlockFormat(), nullptr, false);
                QTextCharFormat heading = base_;
                heading.setFontWeight(QFont::Bold);
                heading.setFontPointSize(
                    headingPointSize(cmark_node_get_heading_level(node), bodyPoints_));
                paragraphInlines(node, heading);
                break;
            }
            case CMARK_NODE_CODE_BLOCK:
            case CMARK_NODE_HTML_BLOCK: {
                QString text = literalOf(node);
                if (text.endsWith(QLatin1Char('\n'))) {
                    text.chop(1);
                }
                const bool code = cmark_node_get_type(node) == CMARK_NODE_CODE_BLOCK;
                for (const QString& line : codeLiteral(text).split(QLatin1Char('\n'))) {
                    startParagraph(QTextBlockFormat(), nullptr, false);
                    cursor_.insertText(line, code ? codeFormat(base_) : base_);
                }
                break;
            }
            case CMARK_NODE_BLOCK_QUOTE:
                blocks(node, level);
                break;
            case CMARK_NODE_LIST:
                list(node, level);
                break;
            default:
                break;  // thematic breaks and what the core does not make
        }
    }

    void list(cmark_node* node, int level) {
        QTextList* textList = nullptr;
        const bool ordered = cmark_node_get_list_type(node) == CMARK_ORDERED_LIST;
        for (cmark_node* item = cmark_node_first_child(node); item != nullptr;
             item = cmark_node_next(item)) {
            cmark_node* first = cmark_node_first_child(item);
            const int task = first != nullptr && cmark_node_get_type(first) == CMARK_NODE_PARAGRAPH
                                 ? taskMarker(first)
                                 : -1;
            if (task >= 0) {
                taskItem(first, level, task == 1);
            } else if (first != nullptr && cmark_node_get_type(first) == CMARK_NODE_PARAGRAPH) {
                QTextBlockFormat format;
                format.setLeftMargin(2 * kListMarkerPixels);
                format.setTextIndent(-kListMarkerPixels);
                startParagraph(format, nullptr, false);
                if (textList == nullptr) {
                    QTextListFormat listFormat;
                    listFormat.setIndent(1 + level);
                    if (ordered) {
                        listFormat.setStyle(QTextListFormat::ListDecimal);
                        listFormat.setNumberSuffix(QStringLiteral("."));
                        listFormat.setProperty(rtf::kListStartProperty,
                                               cmark_node_get_list_start(node));
                    } else {
                        listFormat.setStyle(QTextListFormat::ListDisc);
                    }
                    textList = cursor_.createList(listFormat);
                } else {
                    textList->add(cursor_.block());
                }
                paragraphInlines(first, base_);
            } else if (first != nullptr) {
                block(first, level + 1);
            }
            // What else the item holds: more paragraphs, lists nested in it.
            if (first != nullptr) {
                for (cmark_node* more = cmark_node_next(first); more != nullptr;
                     more = cmark_node_next(more)) {
                    block(more, level + 1);
                }
            }
        }
    }

    // 0 for "[ ]", 1 for "[x]" at the start of a paragraph's text; -1 for none. The characters
    // it takes (with one blank after it) are left for skip_.
    int taskMarker(cmark_node* paragraph) {
        QString lead;
        for (cmark_node* node = cmark_node_first_child(paragraph);
             node != nullptr && cmark_node_get_type(node) == CMARK_NODE_TEXT && lead.size() < 4;
             node = cmark_node_next(node)) {
            lead += literalOf(node);
        }
        static const QRegularExpression marker(QStringLiteral("^\\[([ xX])\\](?:\\s|$)"));
        const QRegularExpressionMatch match = marker.match(lead);
        if (!match.hasMatch()) {
            return -1;
        }
        pendingSkip_ = static_cast<int>(match.capturedLength(0));
        return match.captured(1) == QLatin1String(" ") ? 0 : 1;
    }

    void taskItem(cmark_node* paragraph, int level, bool ticked) {
        QTextBlockFormat format;
        format.setLeftMargin(level * checklist::kNestStepPixels);
        startParagraph(format, nullptr, false);
        const QTextBlock block = cursor_.block();
        cursor_.insertText(QString(QChar(checklist::kOpenBox)) + QLatin1Char(' '), base_);
        skip_ = pendingSkip_;
        paragraphInlines(paragraph, base_);
        skip_ = 0;
        if (ticked) {
            QTextCursor edit(cursor_.document());
            checklist::setTicked(edit, block, true, base_.foreground().color());
            cursor_.movePosition(QTextCursor::EndOfBlock);
        }
    }

    // A paragraph for the next block: the one the cursor is in when it is empty (or, for
    // plain text, when this is the first block), otherwise a new one.
    void startParagraph(const QTextBlockFormat& format, QTextList* list, bool plain) {
        const bool reuse = first_ && (cursor_.block().length() == 1 || plain);
        const bool keepFormat = first_ && plain && cursor_.block().length() > 1;
        first_ = false;
        if (!reuse) {
            cursor_.insertBlock(format, base_);
        }
        if (!keepFormat) {
            cursor_.setBlockFormat(format);
            if (QTextList* current = cursor_.block().textList(); current != list) {
                if (current != nullptr) {
                    current->remove(cursor_.block());
                }
                if (list != nullptr) {
                    list->add(cursor_.block());
                }
            }
        }
    }

    static QTextCharFormat codeFormat(const QTextCharFormat& format) {
        QTextCharFormat code = format;
        code.setFontFamilies(QStringList{codeFamily()});
        return code;
    }

    void paragraphInlines(cmark_node* paragraph, const QTextCharFormat& format) {
        // "~~" strikes only in pairs; an odd one out stays as it is.
        int tildes = 0;
        countStrikes(paragraph, tildes);
        strikesLeft_ = tildes - tildes % 2;
        strike_ = false;
        inlines(paragraph, format);
    }

    static void countStrikes(cmark_node* parent, int& count) {
        for (cmark_node* node = cmark_node_first_child(parent); node != nullptr;
             node = cmark_node_next(node)) {
            if (cmark_node_get_type(node) == CMARK_NODE_TEXT) {
                count += static_cast<int>(literalOf(node).count(QStringLiteral("~~")));
            } else {
                countStrikes(node, count);
            }
        }
    }

    void inlines(cmark_node* parent, const QTextCharFormat& format) {
        for (cmark_node* node = cmark_node_first_child(parent); node != nullptr;
             node = cmark_node_next(node)) {
            QTextCharFormat inner = format;
            switch (cmark_node_get_type(node)) {
                case CMARK_NODE_TEXT:
                    text(literalOf(node), format);
                    break;
                case CMARK_NODE_SOFTBREAK:
                    text(QStringLiteral(" "), format);
                    break;
                case CMARK_NODE_LINEBREAK:
                    insert(QString(QChar::LineSeparator), format);
                    break;
                case CMARK_NODE_CODE:
                    insert(codeLiteral(literalOf(node)), codeFormat(format));
                    break;
                case CMARK_NODE_HTML_INLINE:
                    insert(codeLiteral(literalOf(node)), format);
                    break;
                case CMARK_NODE_EMPH:
                    inner.setFontItalic(true);
                    inlines(node, inner);
                    break;
                case CMARK_NODE_STRONG:
                    inner.setFontWeight(QFont::Bold);
                    inlines(node, inner);
                    break;
                case CMARK_NODE_LINK: {
                    const char* url = cmark_node_get_url(node);
                    inner.setAnchor(true);
                    inner.setAnchorHref(QString::fromUtf8(url != nullptr ? url : "")
                                            .replace(kEscapedTilde, QLatin1Char('~')));
                    inner.setFontUnderline(true);
                    inner.setForeground(kLinkColor);
                    inlines(node, inner);
                    break;
                }
                default:
                    inlines(node, inner);  // an image shows its description
                    break;
            }
        }
    }

    void text(QString chars, const QTextCharFormat& format) {
        if (skip_ > 0) {
            const qsizetype dropped = std::min<qsizetype>(skip_, chars.size());
            chars.remove(0, dropped);
            skip_ -= static_cast<int>(dropped);
        }
        qsizetype from = 0;
        while (strikesLeft_ > 0) {
            const qsizetype at = chars.indexOf(QStringLiteral("~~"), from);
            if (at < 0) {
                break;
            }
            insert(chars.mid(from, at - from).replace(kEscapedTilde, QLatin1Char('~')), format);
            strike_ = !strike_;
            --strikesLeft_;
            from = at + 2;
        }
        insert(chars.mid(from).replace(kEscapedTilde, QLatin1Char('~')), format);
    }

    void insert(const QString& chars, QTextCharFormat format) {
        if (chars.isEmpty()) {
            return;
        }
        if (strike_) {
            format.setFontStrikeOut(true);
        }
        cursor_.insertText(chars, format);
    }

    QTextCursor& cursor_;
    QTextCharFormat base_;
    double bodyPoints_;
    bool first_ = true;
    bool strike_ = false;
    int strikesLeft_ = 0;
    int skip_ = 0;
    int pendingSkip_ = 0;
};

// ---- Markdown out ----

enum class Kind { Empty, Plain, Heading, Bullet, Numbered, Task };

struct Run {
    QString text;
    QString href;
    bool code = false;
    bool strike = false;
    bool bold = false;
    bool italic = false;
};

enum Marker { LinkMarker, StrikeMarker, BoldMarker, ItalicMarker };

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (QStringLiteral("\\`*_[]<~&").contains(c)) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    return out;
}

QString codeSpan(const QString& text) {
    int longest = 0;
    int current = 0;
    for (QChar c : text) {
        current = c == QLatin1Char('`') ? current + 1 : 0;
        longest = std::max(longest, current);
    }
    const QString ticks(longest + 1, QLatin1Char('`'));
    const bool pad = text.startsWith(QLatin1Char('`')) || text.endsWith(QLatin1Char('`'));
    return ticks + (pad ? QStringLiteral(" ") : QString()) + text +
           (pad ? QStringLiteral(" ") : QString()) + ticks;
}

QString linkDestination(const QString& href) {
    if (href.contains(QRegularExpression(QStringLiteral("[\\s()<>]")))) {
        QString inner = href;
        inner.replace(QLatin1Char('<'), QStringLiteral("%3C"))
            .replace(QLatin1Char('>'), QStringLiteral("%3E"));
        return QLatin1Char('<') + inner + QLatin1Char('>');
    }
    return href;
}

// Emits runs with their delimiters, opening and closing them so that they nest; blanks at
// a run's edges stay outside, where CommonMark needs them.
class InlineWriter {
public:
    QString write(const std::vector<Run>& runs) {
        for (const Run& run : runs) {
            const qsizetype lead = leadingBlanks(run.text);
            if (lead == run.text.size()) {
                pending_ += run.text;
                continue;
            }
            const qsizetype trail = trailingBlanks(run.text);
            const QString core = run.text.mid(lead, run.text.size() - lead - trail);
            std::vector<Marker> wanted;
            if (!run.href.isEmpty()) {
                wanted.push_back(LinkMarker);
            }
            if (run.strike) {
                wanted.push_back(StrikeMarker);
            }
            if (run.bold) {
                wanted.push_back(BoldMarker);
            }
            if (run.italic) {
                wanted.push_back(ItalicMarker);
            }
            // A different link closes the open one even when both are links.
            const bool newLink = !run.href.isEmpty() && run.href != href_;
            std::size_t keep = 0;
            while (keep < open_.size() &&
                   std::find(wanted.begin(), wanted.end(), open_[keep]) != wanted.end() &&
                   !(open_[keep] == LinkMarker && newLink)) {
                ++keep;
            }
            closeDownTo(keep);
            out_ += pending_;
            out_ += run.text.left(lead);
            pending_.clear();
            for (Marker m : wanted) {
                if (std::find(open_.begin(), open_.end(), m) == open_.end()) {
                    open(m, run.href);
                }
            }
            out_ += run.code ? codeSpan(core) : escaped(core);
            pending_ = run.text.right(trail);
        }
        closeDownTo(0);
        out_ += pending_;
        return out_;
    }

private:
    static qsizetype leadingBlanks(const QString& text) {
        qsizetype n = 0;
        while (n < text.size() && text[n] == QLatin1Char(' ')) {
            ++n;
        }
        return n;
    }
    static qsizetype trailingBlanks(const QString& text) {
        qsizetype n = 0;
        while (n < text.size() && text[text.size() - 1 - n] == QLatin1Char(' ')) {
            ++n;
        }
        return n;
    }
    // What opens and closes a run of strike, bold or italics.
    static QString delimiter(Marker marker) {
        switch (marker) {
            case StrikeMarker:
                return QStringLiteral("~~");
            case BoldMarker:
                return QStringLiteral("**");
            default:
                return QStringLiteral("*");
        }
    }
    void open(Marker marker, const QString& href) {
        open_.push_back(marker);
        if (marker == LinkMarker) {
            out_ += QLatin1Char('[');
            href_ = href;
        } else {
            out_ += delimiter(marker);
        }
    }
    void closeDownTo(std::size_t keep) {
        while (open_.size() > keep) {
            if (open_.back() == LinkMarker) {
                out_ += QStringLiteral("](") + linkDestination(href_) + QLatin1Char(')');
                href_.clear();
            } else {
                out_ += delimiter(open_.back());
            }
            open_.pop_back();
        }
    }

    QString out_;
    QString pending_;
    QString href_;
    std::vector<Marker> open_;
};

class Exporter {
public:
    explicit Exporter(const QTextDocument& document)
        : document_(document), bodyPoints_(pointsOf(QTextCharFormat(), document)) {}

    QString run() {
        QString out;
        Kind previous = Kind::Empty;
        const QTextList* previousList = nullptr;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            int level = 0;
            const Kind kind = kindOf(block, level);
            if (kind == Kind::Empty) {
                continue;
            }
            if (previous != Kind::Empty) {
                out += sameList(previous, kind, previousList, block.textList())
                           ? QStringLiteral("\n")
                           : QStringLiteral("\n\n");
            }
            out += line(block, kind, level);
            previous = kind;
            previousList = block.textList();
        }
        if (!out.isEmpty()) {
            out += QLatin1Char('\n');
        }
        return out;
    }

private:
    static bool sameList(Kind a, Kind b, const QTextList* listA, const QTextList* listB) {
        const auto dashed = [](Kind k) { return k == Kind::Bullet || k == Kind::Task; };
        if (dashed(a) && dashed(b)) {
            return true;
        }
        return a == Kind::Numbered && b == Kind::Numbered && listA == listB;
    }

    Kind kindOf(const QTextBlock& block, int& level) const {
        if (checklist::itemOf(block) != checklist::Item::None) {
            level = checklist::nestLevel(block);
            return Kind::Task;
        }
        if (const QTextList* list = block.textList()) {
            level = std::max(0, list->format().indent() - 1);
            return rtf::isBulletStyle(list->format().style()) ? Kind::Bullet : Kind::Numbered;
        }
        if (block.text().trimmed().isEmpty()) {
            return Kind::Empty;
        }
        return heading(block) > 0 ? Kind::Heading : Kind::Plain;
    }

    int heading(const QTextBlock& block) const {
        int level = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text().trimmed().isEmpty()) {
                continue;
            }
            const QTextCharFormat format = fragment.charFormat();
            const int here = format.fontWeight() >= QFont::DemiBold
                                 ? headingLevel(pointsOf(format, document_), bodyPoints_)
                                 : 0;
            if (here == 0 || (level != 0 && here != level)) {
                return 0;
            }
            level = here;
        }
        return level;
    }

    QString line(const QTextBlock& block, Kind kind, int level) const {
        const QString indent(2 * level, QLatin1Char(' '));
        const int skip = kind == Kind::Task ? checklist::markerLength(block) : 0;
        const bool ticked = checklist::itemOf(block) == checklist::Item::Ticked;
        QString text = InlineWriter().write(runs(block, skip, kind == Kind::Heading, ticked));
        text.replace(QChar::LineSeparator, QStringLiteral("\\\n") + indent);
        switch (kind) {
            case Kind::Heading:
                return QString(heading(block), QLatin1Char('#')) + QLatin1Char(' ') + text;
            case Kind::Task:
                return indent + (ticked ? QStringLiteral("- [x] ") : QStringLiteral("- [ ] ")) +
                       text;
            case Kind::Bullet:
                return indent + QStringLiteral("- ") + text;
            case Kind::Numbered: {
                const QTextList* list = block.textList();
                const QVariant start = list->format().property(rtf::kListStartProperty);
                const int number = (start.isValid() ? start.toInt() : 1) + list->itemNumber(block);
                return indent + QString::number(number) + QStringLiteral(". ") + text;
            }
            default:
                return guardLineStart(text);
        }
    }

    // Text that would start a heading, quote, list or rule when it begins a line.
    static QString guardLineStart(QString text) {
        static const QRegularExpression numbered(QStringLiteral("^(\\d+)([.)])"));
        if (const QRegularExpressionMatch match = numbered.match(text); match.hasMatch()) {
            text.insert(match.capturedEnd(1), QLatin1Char('\\'));
        } else if (!text.isEmpty() && QStringLiteral("#>-+=").contains(text.front())) {
            text.prepend(QLatin1Char('\\'));
        }
        return text;
    }

    std::vector<Run> runs(const QTextBlock& block, int skip, bool heading, bool ticked) const {
        std::vector<Run> out;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                continue;
            }
            QString text = fragment.text();
            const int offset = fragment.position() - block.position();
            if (offset < skip) {
                text.remove(0, std::min<qsizetype>(skip - offset, text.size()));
            }
            text.remove(QChar(QChar::ObjectReplacementCharacter));
            if (text.isEmpty()) {
                continue;
            }
            Run run;
            run.text = text;
            run.href = format.isAnchor() ? format.anchorHref() : QString();
            run.code = isCode(format);
            // A ticked item's strike and a heading's weight are the item's and the heading's.
            run.strike = format.fontStrikeOut() && !ticked;
            run.bold = format.fontWeight() >= QFont::DemiBold && !heading;
            run.italic = format.fontItalic();
            if (!out.empty()) {
                Run& last = out.back();
                if (last.href == run.href && last.code == run.code && last.strike == run.strike &&
                    last.bold == run.bold && last.italic == run.italic) {
                    last.text += run.text;
                    continue;
                }
            }
            out.push_back(run);
        }
        return out;
    }

    const QTextDocument& document_;
    double bodyPoints_;
};

}  // namespace

QString codeFamily() {
    return QStringLiteral("Courier New");
}

int headingLevel(double pointSize, double bodyPoints) {
    if (bodyPoints <= 0) {
        return 0;
    }
    const double ratio = pointSize / bodyPoints;
    for (std::size_t i = 0; i < kHeadingScale.size(); ++i) {
        // Halfway down to the next level's size, or to the body's after the last.
        const double next = i + 1 < kHeadingScale.size() ? kHeadingScale[i + 1] : 1.0;
        if (ratio >= (kHeadingScale[i] + next) / 2) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

double headingPointSize(int level, double bodyPoints) {
    const auto index = static_cast<std::size_t>(std::clamp(level, 1, 4) - 1);
    // Whole half points, as the stored body keeps sizes.
    return std::round(bodyPoints * kHeadingScale[index] * 2) / 2;
}

void insertMarkdown(QTextCursor& cursor, const QString& markdown, const QTextCharFormat& base) {
    const QByteArray utf8 = withEscapedTildesMarked(markdown).toUtf8();
    std::unique_ptr<cmark_node, decltype(&cmark_node_free)> document(
        cmark_parse_document(utf8.constData(), static_cast<size_t>(utf8.size()), CMARK_OPT_DEFAULT),
        &cmark_node_free);
    if (!document) {
        cursor.insertText(markdown, base);
        return;
    }
    Importer(cursor, base).run(document.get());
}

QString toMarkdown(const QTextDocument& document) {
    return Exporter(document).run();
}

QString selectionToMarkdown(const QTextCursor& selection) {
    if (!selection.hasSelection()) {
        return toMarkdown(*selection.document());
    }
    QTextDocument part;
    part.setDefaultFont(selection.document()->defaultFont());
    QTextCursor(&part).insertFragment(selection.selection());
    return toMarkdown(part);
}

bool looksLikeMarkdown(const QString& text) {
    using RE = QRegularExpression;
    static const RE heading(QStringLiteral("^#{1,6}[ \\t]+\\S"), RE::MultilineOption);
    static const RE task(QStringLiteral("^[ \\t]*[-*+][ \\t]+\\[[ xX]\\][ \\t]"),
                         RE::MultilineOption);
    static const RE link(QStringLiteral("\\[[^\\]\\n]+\\]\\([^)\\s]+\\)"));
    static const RE fence(QStringLiteral("^[ \\t]*```"), RE::MultilineOption);
    static const RE pairs(QStringLiteral("(\\*\\*|~~)[^\\s*~][^\\n]*?\\1"));
    static const RE listLine(QStringLiteral("^[ \\t]*(?:[-*+]|\\d{1,9}[.)])[ \\t]+\\S"),
                             RE::MultilineOption);
    for (const RE* one : {&heading, &task, &link, &fence, &pairs}) {
        if (one->match(text).hasMatch()) {
            return true;
        }
    }
    auto lines = listLine.globalMatch(text);
    int count = 0;
    while (lines.hasNext() && count < 2) {
        lines.next();
        ++count;
    }
    return count >= 2;
}

}  // namespace bp::markdown
