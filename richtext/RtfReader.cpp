// The reader is one state machine over the RTF group stack: every control word may change the
// character, paragraph, list, field, font-table or picture state of the current group, and
// closing a group restores all of them at once. The table of control words and the reader that
// acts on them are kept together on purpose, since splitting them would spread that one state
// over several files.

#include "richtext/RtfReader.h"

#include "richtext/CodePages.h"
#include "richtext/RtfFormats.h"
#include "richtext/RtfTokenizer.h"

#include <QByteArray>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace bp::rtf {

namespace {

// Deeper nesting than this only comes from hostile or broken input; such groups are still
// balanced, but do not get a state of their own.
constexpr int kMaxDepth = 512;
constexpr int kMaxFallbackCount = 64;

enum class Dest {
    Text,
    Skip,
    FontTable,
    ColorTable,
    FieldInstruction,
    Marker,
    ListProps,
    ListPrefix,
    ListSuffix,
    Picture,
};

struct GroupState {
    CharProps chars;
    ParaProps para;
    int fallbackCount = 1;
    Dest dest = Dest::Text;
    Dest outerDest = Dest::Text;  // what \result or \ud returns to inside a skipped \object/\upr
    bool hasOuterDest = false;
    int field = -1;
    QString href;
    bool fresh = true;
};

struct FontEntry {
    QString family;
    int charset = -1;
    int codePage = 0;
};

struct Picture {
    std::string data;
    bool hexHigh = false;
    int pending = 0;
    enum class Kind { Unknown, Png, Jpeg } kind = Kind::Unknown;
    int goalWidth = 0;
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
};

enum class Word {
    Unknown,
    // document
    Rtf,
    Urtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTable,
    ColorTable,
    Red,
    Green,
    Blue,
    Font,
    FontCharset,
    FontCodePage,
    // destinations
    Skip,
    Field,
    FieldInstruction,
    FieldResult,
    Picture,
    Object,
    Result,
    Upr,
    Ud,
    ShpPict,
    PnText,
    ListText,
    Pn,
    PnTextBefore,
    PnTextAfter,
    Bin,
    Uc,
    U,
    // characters
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    StrikeDouble,
    FontSize,
    Foreground,
    Background,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Hidden,
    Caps,
    SmallCaps,
    // paragraphs
    Par,
    Sect,
    Pard,
    Left,
    Center,
    Right,
    Justify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    RtlPar,
    LtrPar,
    Cell,
    Row,
    ListOverride,
    ListLevel,
    PnBullet,
    PnBody,
    PnLevel,
    PnDecimal,
    PnLowerAlpha,
    PnUpperAlpha,
    PnLowerRoman,
    PnUpperRoman,
    PnStart,
    // text
    Line,
    Tab,
    EmDash,
    EnDash,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    EmSpace,
    EnSpace,
    QmSpace,
    ViewKind,
    // pictures
    PngBlip,
    JpegBlip,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
};

const std::unordered_map<std::string_view, Word>& words() {
    static const std::unordered_map<std::string_view, Word> table = {
        {"rtf", Word::Rtf},
        {"urtf", Word::Urtf},
        {"ansi", Word::Ansi},
        {"mac", Word::Mac},
        {"pc", Word::Pc},
        {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCpg},
        {"deff", Word::Deff},
        {"fonttbl", Word::FontTable},
        {"colortbl", Word::ColorTable},
        {"red", Word::Red},
        {"green", Word::Green},
        {"blue", Word::Blue},
        {"f", Word::Font},
        {"fcharset", Word::FontCharset},
        {"cpg", Word::FontCodePage},
        {"stylesheet", Word::Skip},
        {"info", Word::Skip},
        {"header", Word::Skip},
        {"headerl", Word::Skip},
        {"headerr", Word::Skip},
        {"headerf", Word::Skip},
        {"footer", Word::Skip},
        {"footerl", Word::Skip},
        {"footerr", Word::Skip},
        {"footerf", Word::Skip},
        {"footnote", Word::Skip},
        {"annotation", Word::Skip},
        {"nonshppict", Word::Skip},
        {"listtable", Word::Skip},
        {"listoverridetable", Word::Skip},
        {"revtbl", Word::Skip},
        {"rsidtbl", Word::Skip},
        {"xmlnstbl", Word::Skip},
        {"themedata", Word::Skip},
        {"colorschememapping", Word::Skip},
        {"datastore", Word::Skip},
        {"latentstyles", Word::Skip},
        {"pgdsctbl", Word::Skip},
        {"generator", Word::Skip},
        {"filetbl", Word::Skip},
        {"template", Word::Skip},
        {"docvar", Word::Skip},
        {"xe", Word::Skip},
        {"tc", Word::Skip},
        {"txe", Word::Skip},
        {"mmathPr", Word::Skip},
        {"field", Word::Field},
        {"fldinst", Word::FieldInstruction},
        {"fldrslt", Word::FieldResult},
        {"pict", Word::Picture},
        {"object", Word::Object},
        {"result", Word::Result},
        {"upr", Word::Upr},
        {"ud", Word::Ud},
        {"shppict", Word::ShpPict},
        {"pntext", Word::PnText},
        {"listtext", Word::ListText},
        {"pn", Word::Pn},
        {"pntxtb", Word::PnTextBefore},
        {"pntxta", Word::PnTextAfter},
        {"bin", Word::Bin},
        {"uc", Word::Uc},
        {"u", Word::U},
        {"plain", Word::Plain},
        {"b", Word::Bold},
        {"i", Word::Italic},
        {"ul", Word::Underline},
        {"uld", Word::Underline},
        {"uldash", Word::Underline},
        {"uldashd", Word::Underline},
        {"uldashdd", Word::Underline},
        {"uldb", Word::Underline},
        {"ulhwave", Word::Underline},
        {"ulldash", Word::Underline},
        {"ulth", Word::Underline},
        {"ulthd", Word::Underline},
        {"ulthdash", Word::Underline},
        {"ulw", Word::Underline},
        {"ulwave", Word::Underline},
        {"ululdbwave", Word::Underline},
        {"ulnone", Word::UnderlineNone},
        {"strike", Word::Strike},
        {"striked", Word::StrikeDouble},
        {"fs", Word::FontSize},
        {"cf", Word::Foreground},
        {"highlight", Word::Background},
        {"cb", Word::Background},
        {"chcbpat", Word::Background},
        {"super", Word::Super},
        {"sub", Word::Sub},
        {"nosupersub", Word::NoSuperSub},
        {"up", Word::Up},
        {"dn", Word::Dn},
        {"v", Word::Hidden},
        {"caps", Word::Caps},
        {"scaps", Word::SmallCaps},
        {"par", Word::Par},
        {"sect", Word::Sect},
        {"pard", Word::Pard},
        {"ql", Word::Left},
        {"qc", Word::Center},
        {"qr", Word::Right},
        {"qj", Word::Justify},
        {"qd", Word::Justify},
        {"li", Word::LeftIndent},
        {"ri", Word::RightIndent},
        {"fi", Word::FirstIndent},
        {"sb", Word::SpaceBefore},
        {"sa", Word::SpaceAfter},
        {"sl", Word::LineSpacing},
        {"slmult", Word::LineMultiple},
        {"rtlpar", Word::RtlPar},
        {"ltrpar", Word::LtrPar},
        {"cell", Word::Cell},
        {"nestcell", Word::Cell},
        {"row", Word::Row},
        {"nestrow", Word::Row},
        {"ls", Word::ListOverride},
        {"ilvl", Word::ListLevel},
        {"pnlvlblt", Word::PnBullet},
        {"pnlvlbody", Word::PnBody},
        {"pnlvlcont", Word::PnBody},
        {"pnlvl", Word::PnLevel},
        {"pndec", Word::PnDecimal},
        {"pnord", Word::PnDecimal},
        {"pncard", Word::PnDecimal},
        {"pnordt", Word::PnDecimal},
        {"pncardt", Word::PnDecimal},
        {"pnlcltr", Word::PnLowerAlpha},
        {"pnucltr", Word::PnUpperAlpha},
        {"pnlcrm", Word::PnLowerRoman},
        {"pnucrm", Word::PnUpperRoman},
        {"pnstart", Word::PnStart},
        {"line", Word::Line},
        {"tab", Word::Tab},
        {"emdash", Word::EmDash},
        {"endash", Word::EnDash},
        {"bullet", Word::Bullet},
        {"lquote", Word::LQuote},
        {"rquote", Word::RQuote},
        {"ldblquote", Word::LDblQuote},
        {"rdblquote", Word::RDblQuote},
        {"emspace", Word::EmSpace},
        {"enspace", Word::EnSpace},
        {"qmspace", Word::QmSpace},
        {"viewkind", Word::ViewKind},
        {"pngblip", Word::PngBlip},
        {"jpegblip", Word::JpegBlip},
        {"picwgoal", Word::PicWGoal},
        {"pichgoal", Word::PicHGoal},
        {"picscalex", Word::PicScaleX},
        {"picscaley", Word::PicScaleY},
    };
    return table;
}

Word lookup(const std::string& name) {
    auto found = words().find(name);
    return found == words().end() ? Word::Unknown : found->second;
}

// Destinations a reader that knows them must not skip even when marked with \*.
bool isKnownDestination(Word word) {
    switch (word) {
        case Word::FieldInstruction:
        case Word::Pn:
        case Word::PnTextBefore:
        case Word::PnTextAfter:
        case Word::Ud:
        case Word::ShpPict:
        case Word::PnText:
        case Word::ListText:
        case Word::Picture:
            return true;
        default:
            return false;
    }
}

bool isTextDest(Dest dest) {
    return dest == Dest::Text || dest == Dest::FieldInstruction || dest == Dest::Marker ||
           dest == Dest::ListPrefix || dest == Dest::ListSuffix || dest == Dest::FontTable;
}

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

int hexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The target of a HYPERLINK field instruction, or empty for any other field.
QString hyperlinkTarget(const QString& instruction) {
    QStringList parts;
    QString current;
    bool quoted = false;
    bool any = false;
    for (QChar c : instruction) {
        if (c == u'"') {
            if (quoted) {
                parts << current;
                current.clear();
                any = false;
            }
            quoted = !quoted;
        } else if (!quoted && c.isSpace()) {
            if (any) {
                parts << current;
                current.clear();
                any = false;
            }
        } else {
            current += c;
            any = true;
        }
    }
    if (any) {
        parts << current;
    }
    if (parts.isEmpty() || parts.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0) {
        return {};
    }
    QString target;
    QString location;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.startsWith(u'\\')) {
            const QString option = part.mid(1).toLower();
            if ((option == u"l") && i + 1 < parts.size()) {
                location = parts[++i];
            } else if ((option == u"o" || option == u"t" || option == u"m") &&
                       i + 1 < parts.size()) {
                ++i;
            }
            continue;
        }
        if (target.isEmpty()) {
            target = part;
        }
    }
    if (!location.isEmpty()) {
        target += u'#' + location;
    }
    return target;
}

// Word and LibreOffice lists only say how the marker looked ({\listtext 1.\tab}); that is
// enough to tell the numbering style.
ListProps listFromMarker(const QString& marker) {
    ListProps list;
    const QString text = marker.trimmed();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && !text[begin].isLetterOrNumber()) {
        ++begin;
    }
    while (end > begin && !text[end - 1].isLetterOrNumber()) {
        --end;
    }
    const QString core = text.mid(begin, end - begin);
    if (core.isEmpty()) {
        list.kind = ListProps::Kind::Bullet;
        list.style = QTextListFormat::ListDisc;
        return list;
    }
    list.kind = ListProps::Kind::Numbered;
    list.prefix = text.left(begin);
    list.suffix = text.mid(end);
    auto allOf = [&core](QStringView chars) {
        return std::all_of(core.begin(), core.end(), [&](QChar c) { return chars.contains(c); });
    };
    if (allOf(u"0123456789")) {
        list.style = QTextListFormat::ListDecimal;
    } else if (allOf(u"ivxlcdm") && (core.size() > 1 || core == u"i" || core == u"v")) {
        list.style = QTextListFormat::ListLowerRoman;
    } else if (allOf(u"IVXLCDM") && (core.size() > 1 || core == u"I" || core == u"V")) {
        list.style = QTextListFormat::ListUpperRoman;
    } else if (core.size() == 1 && core[0].isLower()) {
        list.style = QTextListFormat::ListLowerAlpha;
    } else if (core.size() == 1 && core[0].isUpper()) {
        list.style = QTextListFormat::ListUpperAlpha;
    } else {
        list.kind = ListProps::Kind::Bullet;
        list.style = QTextListFormat::ListDisc;
        list.prefix.clear();
        list.suffix.clear();
    }
    return list;
}

// Appends text as a document's search text would show it: the characters that start a new
// block in a document (line feed, carriage return with or without a line feed, paragraph and
// frame separators) become the block separator '\r', a line separator becomes 0x0B.
void appendSearchText(QString& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar ch = text[i];
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            ch = text[i];
        }
        if (ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator || ch == QChar(0xFDD0) ||
            ch == QChar(0xFDD1)) {
            out.append(u'\r');
        } else if (ch == QChar::LineSeparator) {
            out.append(QChar(0x000B));
        } else {
            out.append(ch);
        }
    }
}

class Reader {
public:
    // Builds the document, or, with text set instead, only the text the search runs over.
    explicit Reader(QTextDocument* document, QString* text = nullptr)
        : document_(document), text_(text) {
        if (document_ != nullptr) {
            cursor_ = QTextCursor(document_);
        }
    }

    void run(std::string_view rtf);

private:
    GroupState& state() { return stack_.back(); }

    void handle(const RtfToken& token);
    void openGroup();
    void closeGroup();
    void controlWord(const RtfToken& token);
    void controlSymbol(const RtfToken& token);
    void destinationWord(Word word, const RtfToken& token);
    void fontTableWord(Word word, const RtfToken& token);
    void pictureWord(Word word, const RtfToken& token);

    void addByte(unsigned char byte);
    void addUnit(char16_t unit);
    void addText(const QString& text);
    void resolveSurrogate();
    void flushBytes();
    void flushText();
    void deliver(const QString& text);
    void startPendingBlock();
    void endParagraph();
    void applyParagraph();
    void finishFontEntry();
    int fontCodePage();
    QString decodeFontName();
    void finishPicture();

    int codePage();
    QString familyOf(int font) const;
    QTextCharFormat charFormat();

    QTextDocument* document_;
    QString* text_;
    QTextCursor cursor_;
    RtfTokenizer* tokenizer_ = nullptr;
    CodePages codePages_;

    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    bool starPending_ = false;
    int fallbackToSkip_ = 0;
    char16_t pendingHigh_ = 0;

    int ansiCodePage_ = 1252;
    bool utf8_ = false;
    int defaultFont_ = 0;
    std::map<int, FontEntry> fonts_;
    int fontEntry_ = -1;
    std::string fontNameBytes_;
    QString fontName_;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;
    std::vector<QString> fieldInstructions_;

    std::string pendingBytes_;
    QString pendingText_;
    QString markerText_;
    bool blockPending_ = false;
    bool cellPending_ = false;

    QTextList* list_ = nullptr;
    ListProps listKey_;
    ParaProps lastPara_;  // of the text read last, for a final paragraph without \par
    Picture picture_;
    int pictures_ = 0;
};

void Reader::run(std::string_view rtf) {
    RtfTokenizer tokenizer(rtf);
    tokenizer_ = &tokenizer;
    stack_.reserve(64);
    if (document_ != nullptr) {
        cursor_.movePosition(QTextCursor::End);
    }
    for (;;) {
        const RtfToken token = tokenizer.next();
        if (token.kind == RtfToken::Kind::End) {
            break;
        }
        handle(token);
        if (stack_.empty() && overflowDepth_ == 0) {
            break;  // the outer group is closed; whatever follows is not part of the document
        }
    }
    // A truncated stream: close what is still open so the text read so far is kept.
    while (!stack_.empty()) {
        closeGroup();
    }
    flushText();
    if (!blockPending_) {
        applyParagraph();
    }
    tokenizer_ = nullptr;
}

void Reader::handle(const RtfToken& token) {
    using Kind = RtfToken::Kind;
    if (stack_.empty() && token.kind != Kind::GroupOpen) {
        return;
    }
    if (fallbackToSkip_ > 0) {
        if (token.kind == Kind::GroupOpen || token.kind == Kind::GroupClose) {
            fallbackToSkip_ = 0;
        } else {
            --fallbackToSkip_;
            if (token.kind == Kind::ControlWord && token.word == "bin") {
                tokenizer_->takeBinary(token.param);
            }
            return;
        }
    }
    const bool isUnicode = token.kind == Kind::ControlWord && token.word == "u";
    if (!isUnicode) {
        resolveSurrogate();
    }
    if (token.kind != Kind::HexByte && token.kind != Kind::Text) {
        flushBytes();
    }
    switch (token.kind) {
        case Kind::GroupOpen:
            openGroup();
            return;
        case Kind::GroupClose:
            closeGroup();
            return;
        case Kind::ControlWord:
            controlWord(token);
            break;
        case Kind::ControlSymbol:
            controlSymbol(token);
            break;
        case Kind::HexByte:
            addByte(token.byte);
            break;
        case Kind::Text:
            if (state().dest == Dest::Picture) {
                const int digit = hexDigit(token.byte);
                if (digit >= 0) {
                    picture_.pending = picture_.pending * 16 + digit;
                    if (picture_.hexHigh) {
                        picture_.data.push_back(static_cast<char>(picture_.pending));
                        picture_.pending = 0;
                    }
                    picture_.hexHigh = !picture_.hexHigh;
                }
            } else if (state().dest == Dest::ColorTable) {
                if (token.byte == ';') {
                    colors_.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
                    red_ = green_ = blue_ = 0;
                    colorSet_ = false;
                }
            } else if (state().dest == Dest::FontTable && token.byte == ';') {
                finishFontEntry();
            } else {
                // NUL inside text shows as a blank, as in the note's edit control.
                addByte(token.byte == 0 ? ' ' : token.byte);
            }
            break;
        case Kind::End:
            return;
    }
    if (!stack_.empty()) {
        state().fresh = false;
    }
}

void Reader::openGroup() {
    flushText();
    if (stack_.empty()) {
        stack_.emplace_back();
        return;
    }
    if (static_cast<int>(stack_.size()) >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    GroupState next = state();
    next.fresh = true;
    stack_.push_back(std::move(next));
    starPending_ = false;
}

void Reader::closeGroup() {
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    flushText();
    GroupState closing = std::move(stack_.back());
    stack_.pop_back();
    starPending_ = false;
    switch (closing.dest) {
        case Dest::FontTable:
            if (fontEntry_ >= 0 && (!fontNameBytes_.empty() || !fontName_.isEmpty())) {
                finishFontEntry();
            }
            break;
        case Dest::Picture:
            if (stack_.empty() || state().dest != Dest::Picture) {
                finishPicture();
            }
            break;
        case Dest::ListProps:
        case Dest::ListPrefix:
        case Dest::ListSuffix:
            // The \pn group states a property of the paragraph it sits in.
            if (!stack_.empty()) {
                state().para.list = closing.para.list;
            }
            break;
        default:
            break;
    }
}

void Reader::controlSymbol(const RtfToken& token) {
    const char c = token.word.empty() ? '\0' : token.word[0];
    switch (c) {
        case '*':
            if (state().fresh) {
                starPending_ = true;
                return;  // the group stays fresh for the word that follows
            }
            break;
        case '\\':
        case '{':
        case '}':
            if (state().dest == Dest::FontTable) {
                fontNameBytes_.push_back(c);
            } else if (isTextDest(state().dest)) {
                addByte(static_cast<unsigned char>(c));
            }
            break;
        case '~':
            addText(QString(QChar(0x00A0)));
            break;
        case '-':
            addText(QString(QChar(0x00AD)));
            break;
        case '_':
            addText(QString(QChar(0x2011)));
            break;
        default:
            break;
    }
    starPending_ = false;
}

void Reader::controlWord(const RtfToken& token) {
    const Word word = lookup(token.word);
    if (starPending_) {
        starPending_ = false;
        if (!isKnownDestination(word)) {
            state().dest = Dest::Skip;
            return;
        }
    }
    GroupState& s = state();
    if (word == Word::Bin) {
        const std::string_view data = tokenizer_->takeBinary(token.hasParam ? token.param : 0);
        if (s.dest == Dest::Picture) {
            picture_.data.append(data);
        }
        return;
    }
    if (s.dest == Dest::Skip) {
        if ((word == Word::Result || word == Word::Ud) && s.hasOuterDest) {
            s.dest = s.outerDest;
            s.hasOuterDest = false;
        }
        return;
    }
    if (s.dest == Dest::FontTable) {
        fontTableWord(word, token);
        return;
    }
    if (s.dest == Dest::ColorTable) {
        if (word == Word::Red) {
            red_ = std::clamp(token.param, 0, 255);
            colorSet_ = true;
        } else if (word == Word::Green) {
            green_ = std::clamp(token.param, 0, 255);
            colorSet_ = true;
        } else if (word == Word::Blue) {
            blue_ = std::clamp(token.param, 0, 255);
            colorSet_ = true;
        }
        return;
    }
    if (s.dest == Dest::Picture) {
        pictureWord(word, token);
        return;
    }
    const bool producesText = word == Word::U || (word >= Word::Line && word <= Word::QmSpace);
    if (!producesText) {
        flushText();
    }
    const bool on = !token.hasParam || token.param != 0;
    const int param = token.param;
    CharProps& ch = s.chars;
    ParaProps& para = s.para;
    auto color = [this](int index) {
        return index > 0 && static_cast<std::size_t>(index) < colors_.size()
                   ? colors_[static_cast<std::size_t>(index)]
                   : QColor();
    };
    switch (word) {
        case Word::Urtf:
            utf8_ = true;
            break;
        case Word::Ansi:
            ansiCodePage_ = 1252;
            break;
        case Word::Mac:
            ansiCodePage_ = 10000;
            break;
        case Word::Pc:
            ansiCodePage_ = 437;
            break;
        case Word::Pca:
            ansiCodePage_ = 850;
            break;
        case Word::AnsiCpg:
            ansiCodePage_ = (param > 0 && param != CodePages::kUtf8 && codePages_.isKnown(param))
                                ? param
                                : 1252;
            break;
        case Word::Deff:
            defaultFont_ = param;
            break;
        case Word::Uc:
            s.fallbackCount = std::clamp(param, 0, kMaxFallbackCount);
            break;
        case Word::U:
            addUnit(static_cast<char16_t>(static_cast<std::uint32_t>(param) & 0xFFFF));
            fallbackToSkip_ = s.fallbackCount;
            break;
        case Word::Plain:
            ch = CharProps{};
            break;
        case Word::Bold:
            ch.bold = on;
            break;
        case Word::Italic:
            ch.italic = on;
            break;
        case Word::Underline:
            ch.underline = on;
            break;
        case Word::UnderlineNone:
            ch.underline = false;
            break;
        case Word::Strike:
        case Word::StrikeDouble:
            ch.strike = on;
            break;
        case Word::Font:
            ch.font = param;
            break;
        case Word::FontSize:
            ch.halfPoints = param > 0 ? std::min(param, 3276) : 24;
            break;
        case Word::Foreground:
            ch.foreground = color(param);
            break;
        case Word::Background:
            ch.background = color(param);
            break;
        case Word::Super:
            ch.script = CharProps::Script::Super;
            break;
        case Word::Sub:
            ch.script = CharProps::Script::Sub;
            break;
        case Word::NoSuperSub:
            ch.script = CharProps::Script::Normal;
            break;
        case Word::Up:
            ch.script = param != 0 ? CharProps::Script::Super : CharProps::Script::Normal;
            break;
        case Word::Dn:
            ch.script = param != 0 ? CharProps::Script::Sub : CharProps::Script::Normal;
            break;
        case Word::Hidden:
            ch.hidden = on;
            break;
        case Word::Caps:
            ch.caps = on ? QFont::AllUppercase : QFont::MixedCase;
            break;
        case Word::SmallCaps:
            ch.caps = on ? QFont::SmallCaps : QFont::MixedCase;
            break;
        case Word::Par:
        case Word::Sect:
            endParagraph();
            break;
        case Word::Row:
            cellPending_ = false;
            endParagraph();
            break;
        case Word::Cell:
            cellPending_ = true;
            break;
        case Word::Pard:
            para = ParaProps{};
            break;
        case Word::Left:
            para.align = ParaProps::Align::Left;
            break;
        case Word::Center:
            para.align = ParaProps::Align::Center;
            break;
        case Word::Right:
            para.align = ParaProps::Align::Right;
            break;
        case Word::Justify:
            para.align = ParaProps::Align::Justify;
            break;
        case Word::LeftIndent:
            para.leftIndent = std::clamp(param, -31680, 31680);
            break;
        case Word::RightIndent:
            para.rightIndent = std::clamp(param, -31680, 31680);
            break;
        case Word::FirstIndent:
            para.firstIndent = std::clamp(param, -31680, 31680);
            break;
        case Word::SpaceBefore:
            para.spaceBefore = std::clamp(param, 0, 31680);
            break;
        case Word::SpaceAfter:
            para.spaceAfter = std::clamp(param, 0, 31680);
            break;
        case Word::LineSpacing:
            para.lineSpacing = std::clamp(param, -31680, 31680);
            if (!token.hasParam) {
                para.lineSpacing = 0;
            }
            break;
        case Word::LineMultiple:
            para.lineMultiple = on ? 1 : 0;
            break;
        case Word::RtlPar:
            para.rightToLeft = true;
            break;
        case Word::LtrPar:
            para.rightToLeft = false;
            break;
        case Word::ListOverride:
            para.list.override = std::max(param, 0);
            break;
        case Word::ListLevel:
            para.list.level = std::clamp(param, 0, 8);
            break;
        case Word::Line:
            addText(QString(QChar(QChar::LineSeparator)));
            break;
        case Word::Tab:
            addText(QStringLiteral("\t"));
            break;
        case Word::EmDash:
            addText(QString(QChar(0x2014)));
            break;
        case Word::EnDash:
            addText(QString(QChar(0x2013)));
            break;
        case Word::Bullet:
            addText(QString(QChar(0x2022)));
            break;
        case Word::LQuote:
            addText(QString(QChar(0x2018)));
            break;
        case Word::RQuote:
            addText(QString(QChar(0x2019)));
            break;
        case Word::LDblQuote:
            addText(QString(QChar(0x201C)));
            break;
        case Word::RDblQuote:
            addText(QString(QChar(0x201D)));
            break;
        case Word::EmSpace:
            addText(QString(QChar(0x2003)));
            break;
        case Word::EnSpace:
            addText(QString(QChar(0x2002)));
            break;
        case Word::QmSpace:
            addText(QString(QChar(0x2005)));
            break;
        default:
            destinationWord(word, token);
            break;
    }
}

void Reader::destinationWord(Word word, const RtfToken& token) {
    GroupState& s = state();
    ListProps& list = s.para.list;
    switch (word) {
        case Word::Skip:
            s.dest = Dest::Skip;
            break;
        case Word::FontTable:
            s.dest = Dest::FontTable;
            fontEntry_ = -1;
            break;
        case Word::ColorTable:
            s.dest = Dest::ColorTable;
            colors_.clear();
            colorSet_ = false;
            red_ = green_ = blue_ = 0;
            break;
        case Word::Field:
            fieldInstructions_.emplace_back();
            s.field = static_cast<int>(fieldInstructions_.size()) - 1;
            break;
        case Word::FieldInstruction:
            s.dest = s.field >= 0 ? Dest::FieldInstruction : Dest::Skip;
            break;
        case Word::FieldResult:
            if (s.dest == Dest::Text && s.field >= 0) {
                const QString target =
                    hyperlinkTarget(fieldInstructions_[static_cast<std::size_t>(s.field)]);
                if (!target.isEmpty()) {
                    s.href = target;
                }
            }
            break;
        case Word::Picture:
            if (s.dest == Dest::Text) {
                s.dest = Dest::Picture;
                picture_ = Picture{};
            } else {
                s.dest = Dest::Skip;
            }
            break;
        case Word::Object:
        case Word::Upr:
            s.outerDest = s.dest;
            s.hasOuterDest = true;
            s.dest = Dest::Skip;
            break;
        case Word::PnText:
        case Word::ListText:
            // The marker as drawn; the list itself comes from \pn or \ls.
            s.dest = Dest::Marker;
            markerText_.clear();
            break;
        case Word::Pn:
            s.dest = Dest::ListProps;
            if (list.kind == ListProps::Kind::None) {
                list.kind = ListProps::Kind::Numbered;
            }
            break;
        case Word::PnTextBefore:
            if (s.dest == Dest::ListProps) {
                s.dest = Dest::ListPrefix;
                list.prefix.clear();
            }
            break;
        case Word::PnTextAfter:
            if (s.dest == Dest::ListProps) {
                s.dest = Dest::ListSuffix;
                list.suffix.clear();
            }
            break;
        case Word::PnBullet:
            list.kind = ListProps::Kind::Bullet;
            list.style = QTextListFormat::ListDisc;
            break;
        case Word::PnBody:
        case Word::PnLevel:
            list.kind = ListProps::Kind::Numbered;
            break;
        case Word::PnDecimal:
            list.style = QTextListFormat::ListDecimal;
            break;
        case Word::PnLowerAlpha:
            list.style = QTextListFormat::ListLowerAlpha;
            break;
        case Word::PnUpperAlpha:
            list.style = QTextListFormat::ListUpperAlpha;
            break;
        case Word::PnLowerRoman:
            list.style = QTextListFormat::ListLowerRoman;
            break;
        case Word::PnUpperRoman:
            list.style = QTextListFormat::ListUpperRoman;
            break;
        case Word::PnStart:
            list.start = std::clamp(token.param, 0, 32767);
            break;
        default:
            break;
    }
}

void Reader::fontTableWord(Word word, const RtfToken& token) {
    switch (word) {
        case Word::Font:
            if (fontEntry_ >= 0 && (!fontNameBytes_.empty() || !fontName_.isEmpty())) {
                finishFontEntry();
            }
            fontEntry_ = token.param;
            fonts_[fontEntry_] = FontEntry{};
            fontNameBytes_.clear();
            fontName_.clear();
            break;
        case Word::FontCharset:
            if (fontEntry_ >= 0) {
                fonts_[fontEntry_].charset = token.param;
            }
            break;
        case Word::FontCodePage:
            if (fontEntry_ >= 0 && codePages_.isKnown(token.param)) {
                fonts_[fontEntry_].codePage = token.param;
            }
            break;
        case Word::Pard:
        case Word::Par:
        case Word::ViewKind:
            // A font table that was never closed: the body has begun.
            fontEntry_ = -1;
            fontNameBytes_.clear();
            state().dest = Dest::Text;
            if (word == Word::Par) {
                endParagraph();
            }
            break;
        case Word::Skip:
            state().dest = Dest::Skip;
            break;
        case Word::U:
            addUnit(static_cast<char16_t>(static_cast<std::uint32_t>(token.param) & 0xFFFF));
            fallbackToSkip_ = state().fallbackCount;
            break;
        case Word::Uc:
            state().fallbackCount = std::clamp(token.param, 0, kMaxFallbackCount);
            break;
        default:
            break;
    }
}

void Reader::pictureWord(Word word, const RtfToken& token) {
    switch (word) {
        case Word::PngBlip:
            picture_.kind = Picture::Kind::Png;
            break;
        case Word::JpegBlip:
            picture_.kind = Picture::Kind::Jpeg;
            break;
        case Word::PicWGoal:
            picture_.goalWidth = std::clamp(token.param, 0, 1 << 20);
            break;
        case Word::PicHGoal:
            picture_.goalHeight = std::clamp(token.param, 0, 1 << 20);
            break;
        case Word::PicScaleX:
            picture_.scaleX = std::clamp(token.param, 1, 10000);
            break;
        case Word::PicScaleY:
            picture_.scaleY = std::clamp(token.param, 1, 10000);
            break;
        default:
            break;
    }
}

int Reader::codePage() {
    if (utf8_) {
        return CodePages::kUtf8;
    }
    const GroupState& s = state();
    int font = s.chars.font;
    if (s.dest == Dest::FontTable) {
        font = fontEntry_;
    } else if (font < 0 || fonts_.find(font) == fonts_.end()) {
        font = defaultFont_;
    }
    auto found = fonts_.find(font);
    if (found == fonts_.end()) {
        return ansiCodePage_;
    }
    if (found->second.codePage > 0) {
        return found->second.codePage;
    }
    const int page = CodePages::forCharset(found->second.charset);
    return page == 0 ? ansiCodePage_ : page;
}

void Reader::addByte(unsigned char byte) {
    if (stack_.empty()) {
        return;
    }
    const Dest dest = state().dest;
    if (dest == Dest::FontTable) {
        if (fontEntry_ >= 0) {
            fontNameBytes_.push_back(static_cast<char>(byte));
        }
        return;
    }
    if (!isTextDest(dest)) {
        return;
    }
    pendingBytes_.push_back(static_cast<char>(byte));
}

void Reader::flushBytes() {
    if (pendingBytes_.empty()) {
        return;
    }
    std::string bytes;
    bytes.swap(pendingBytes_);
    bool ascii = std::all_of(bytes.begin(), bytes.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const int page = codePage();
    if (ascii && !CodePages::isDoubleByte(page)) {
        deliver(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } else {
        deliver(codePages_.decode(bytes, page));
    }
}

void Reader::addUnit(char16_t unit) {
    if (isHighSurrogate(unit)) {
        resolveSurrogate();
        pendingHigh_ = unit;
        return;
    }
    if (isLowSurrogate(unit)) {
        if (pendingHigh_ != 0) {
            const QChar pair[2] = {QChar(pendingHigh_), QChar(unit)};
            pendingHigh_ = 0;
            deliver(QString(pair, 2));
        } else {
            deliver(QString(QChar(QChar::ReplacementCharacter)));
        }
        return;
    }
    resolveSurrogate();
    deliver(QString(QChar(unit)));
}

void Reader::resolveSurrogate() {
    if (pendingHigh_ != 0) {
        pendingHigh_ = 0;
        deliver(QString(QChar(QChar::ReplacementCharacter)));
    }
}

void Reader::addText(const QString& text) {
    flushBytes();
    deliver(text);
}

void Reader::deliver(const QString& text) {
    if (stack_.empty() || text.isEmpty()) {
        return;
    }
    GroupState& s = state();
    switch (s.dest) {
        case Dest::FontTable:
            if (fontEntry_ >= 0 && fontName_.size() < 256) {
                fontName_ += decodeFontName();
                fontName_ += text;
            }
            break;
        case Dest::Text:
            if (s.chars.hidden) {
                return;
            }
            if (cellPending_) {
                cellPending_ = false;
                pendingText_ += u'\t';
            }
            pendingText_ += text;
            break;
        case Dest::FieldInstruction:
            if (s.field >= 0) {
                QString& instruction = fieldInstructions_[static_cast<std::size_t>(s.field)];
                if (instruction.size() < 4096) {
                    instruction += text;
                }
            }
            break;
        case Dest::Marker:
            if (markerText_.size() < 64) {
                markerText_ += text;
            }
            break;
        case Dest::ListPrefix:
            if (s.para.list.prefix.size() < 16) {
                s.para.list.prefix += text;
            }
            break;
        case Dest::ListSuffix:
            if (s.para.list.suffix.size() < 16) {
                s.para.list.suffix += text;
            }
            break;
        default:
            break;
    }
}

QString Reader::familyOf(int font) const {
    auto found = fonts_.find(font);
    if (found == fonts_.end() || found->second.family.isEmpty()) {
        found = fonts_.find(defaultFont_);
    }
    return found == fonts_.end() ? QString() : found->second.family;
}

QTextCharFormat Reader::charFormat() {
    const GroupState& s = state();
    const CharProps& ch = s.chars;
    QTextCharFormat format;
    const QString family = familyOf(ch.font);
    if (!family.isEmpty()) {
        format.setFontFamilies({family});
    }
    format.setFontPointSize(ch.halfPoints / 2.0);
    if (ch.bold) {
        format.setFontWeight(QFont::Bold);
    }
    if (ch.italic) {
        format.setFontItalic(true);
    }
    if (ch.underline) {
        format.setFontUnderline(true);
    }
    if (ch.strike) {
        format.setFontStrikeOut(true);
    }
    if (ch.foreground.isValid()) {
        format.setForeground(ch.foreground);
    }
    if (ch.background.isValid()) {
        format.setBackground(ch.background);
    }
    if (ch.script == CharProps::Script::Super) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (ch.script == CharProps::Script::Sub) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    if (ch.caps != QFont::MixedCase) {
        format.setFontCapitalization(ch.caps);
    }
    if (!s.href.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(s.href);
    }
    return format;
}

void Reader::startPendingBlock() {
    if (!blockPending_) {
        return;
    }
    blockPending_ = false;
    if (text_ != nullptr) {
        text_->append(u'\r');
    } else {
        cursor_.insertBlock();
    }
}

void Reader::flushText() {
    flushBytes();
    resolveSurrogate();
    if (pendingText_.isEmpty()) {
        return;
    }
    QString text;
    text.swap(pendingText_);
    startPendingBlock();
    if (text_ != nullptr) {
        appendSearchText(*text_, text);
    } else {
        cursor_.insertText(text, charFormat());
    }
    lastPara_ = state().para;
}

void Reader::endParagraph() {
    flushText();
    cellPending_ = false;
    startPendingBlock();
    applyParagraph();
    blockPending_ = true;
}

void Reader::applyParagraph() {
    if (text_ != nullptr) {
        markerText_.clear();
        return;
    }
    const ParaProps para = stack_.empty() ? lastPara_ : state().para;
    cursor_.setBlockFormat(toBlockFormat(para));
    ListProps list = para.list;
    if (list.kind == ListProps::Kind::None && list.override > 0) {
        const int override = list.override;
        const int level = list.level;
        list = listFromMarker(markerText_);
        list.override = override;
        list.level = level;
    }
    markerText_.clear();
    if (list.kind == ListProps::Kind::None) {
        return;
    }
    if (list.kind == ListProps::Kind::Bullet) {
        list.prefix.clear();
        list.suffix.clear();
        list.start = -1;
    }
    const QTextBlock previous = cursor_.block().previous();
    if (list_ != nullptr && listKey_ == list && previous.isValid() &&
        previous.textList() == list_) {
        list_->add(cursor_.block());
    } else {
        list_ = cursor_.createList(toListFormat(list));
        listKey_ = list;
    }
}

void Reader::finishFontEntry() {
    if (fontEntry_ < 0) {
        fontNameBytes_.clear();
        return;
    }
    FontEntry& entry = fonts_[fontEntry_];
    const int page = fontCodePage();
    if (fontNameBytes_.size() > 256) {
        fontNameBytes_.resize(256);
    }
    entry.family = (fontName_ + codePages_.decode(fontNameBytes_, page)).trimmed();
    fontNameBytes_.clear();
    fontName_.clear();
    fontEntry_ = -1;
}

QString Reader::decodeFontName() {
    QString name = codePages_.decode(fontNameBytes_, fontCodePage());
    fontNameBytes_.clear();
    return name;
}

// Font names are written in the font's own code page (宋体 as GBK bytes).
int Reader::fontCodePage() {
    if (utf8_) {
        return CodePages::kUtf8;
    }
    const FontEntry& entry = fonts_[fontEntry_];
    int page = entry.codePage;
    if (page <= 0) {
        page = CodePages::forCharset(entry.charset);
    }
    return page == 0 || page == CodePages::kSymbol ? ansiCodePage_ : page;
}

void Reader::finishPicture() {
    if (picture_.kind == Picture::Kind::Unknown || picture_.data.empty()) {
        picture_ = Picture{};
        return;  // a format Qt cannot show (metafiles, bitmaps without a header)
    }
    const Picture picture = std::move(picture_);
    picture_ = Picture{};
    const QByteArray bytes(picture.data.data(), static_cast<qsizetype>(picture.data.size()));
    const char* format = picture.kind == Picture::Kind::Png ? "PNG" : "JPEG";
    QImage image;
    if (!image.loadFromData(bytes, format) || image.isNull()) {
        return;
    }
    startPendingBlock();
    if (text_ != nullptr) {
        text_->append(QChar(QChar::ObjectReplacementCharacter));
        return;
    }
    const QString name =
        QStringLiteral("rtfpict:%1.%2")
            .arg(++pictures_)
            .arg(QLatin1String(picture.kind == Picture::Kind::Png ? "png" : "jpg"));
    document_->addResource(QTextDocument::ImageResource, QUrl(name), bytes);
    QTextImageFormat imageFormat;
    imageFormat.merge(charFormat());
    imageFormat.setName(name);
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        imageFormat.setWidth(picture.goalWidth * picture.scaleX / 100.0 / kTwipsPerPixel);
        imageFormat.setHeight(picture.goalHeight * picture.scaleY / 100.0 / kTwipsPerPixel);
    }
    cursor_.insertImage(imageFormat);
}

}  // namespace

bool looksLikeRtf(std::string_view body) {
    return body.starts_with("{\\rtf") || body.starts_with("{\\urtf");
}

void readRtf(std::string_view rtf, QTextDocument& document) {
    // Loading is no edit to undo, and one edit block spares the document a round of change
    // bookkeeping per paragraph: with both, a body of any size loads in time proportional to it.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor batch(&document);
    batch.beginEditBlock();
    Reader reader(&document);
    reader.run(rtf);
    batch.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

QString bodySearchText(std::string_view body) {
    QString text;
    if (looksLikeRtf(body)) {
        Reader reader(nullptr, &text);
        reader.run(body);
    } else {
        CodePages codePages;
        QString decoded = decodePlainBytes(body, codePages);
        decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        decoded.replace(u'\r', u'\n');
        appendSearchText(text, decoded);
    }
    return text;
}

void loadPlainText(std::string_view text, QTextDocument& document) {
    CodePages codePages;
    QString decoded = decodePlainBytes(text, codePages);
    decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    decoded.replace(u'\r', u'\n');
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(decoded);
}

void loadBody(std::string_view body, QTextDocument& document) {
    if (looksLikeRtf(body)) {
        readRtf(body, document);
    } else {
        loadPlainText(body, document);
    }
}

}  // namespace bp::rtf
