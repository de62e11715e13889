#include "richtext/RtfWriter.h"

#include "richtext/CodePages.h"
#include "richtext/RtfFormats.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>

#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace bp::rtf {

namespace {

constexpr char kNewline[] = "\r\n";

struct RunProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    int halfPoints = 24;
    int foreground = 0;
    int background = 0;
    CharProps::Script script = CharProps::Script::Normal;
    bool operator==(const RunProps&) const = default;
};

// The byte Windows-1252 uses for a character, or -1.
int cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    static const std::map<char16_t, int> high = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F},
    };
    auto found = high.find(c);
    return found == high.end() ? -1 : found->second;
}

bool isSymbolFamily(const QString& family) {
    return family.compare(u"Symbol", Qt::CaseInsensitive) == 0 ||
           family.startsWith(u"Wingdings", Qt::CaseInsensitive) ||
           family.compare(u"Webdings", Qt::CaseInsensitive) == 0;
}

class Writer {
public:
    explicit Writer(const QTextDocument& document) : document_(document) {}
    std::string run();

private:
    void collect();
    int fontIndex(const QString& family);
    int colorIndex(const QBrush& brush);
    QString familyOf(const QTextCharFormat& format) const;
    RunProps runProps(const QTextCharFormat& format);

    void writeHeader(std::string& out);
    void writeParagraphFormat(const QTextBlock& block, const ParaProps& para);
    void writeMarker(const QTextBlock& block, const ListProps& list);
    void writeFragment(const QTextFragment& fragment);
    void writeImage(const QTextImageFormat& format);
    void switchRun(const RunProps& next);
    void openLink(const QString& href);
    void closeLink();

    void word(const char* name);
    void word(const char* name, long long value);
    void text(QStringView chars, bool symbolFont);

    const QTextDocument& document_;
    std::vector<QString> fonts_;
    std::vector<QColor> colors_;
    int symbolFont_ = -1;
    std::string body_;
    bool delimit_ = false;
    RunProps run_;
    std::optional<RunProps> savedRun_;
    QString openHref_;
};

QString Writer::familyOf(const QTextCharFormat& format) const {
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        return families.first();
    }
    return document_.defaultFont().family();
}

int Writer::fontIndex(const QString& family) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == family) {
            return static_cast<int>(i);
        }
    }
    fonts_.push_back(family);
    return static_cast<int>(fonts_.size()) - 1;
}

int Writer::colorIndex(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) {
        return 0;
    }
    const QColor color = brush.color().toRgb();
    const QColor opaque(color.red(), color.green(), color.blue());
    for (std::size_t i = 0; i < colors_.size(); ++i) {
        if (colors_[i] == opaque) {
            return static_cast<int>(i) + 1;
        }
    }
    colors_.push_back(opaque);
    return static_cast<int>(colors_.size());
}

RunProps Writer::runProps(const QTextCharFormat& format) {
    RunProps run;
    run.bold = format.fontWeight() >= QFont::DemiBold;
    run.italic = format.fontItalic();
    run.underline = format.fontUnderline();
    run.strike = format.fontStrikeOut();
    run.font = fontIndex(familyOf(format));
    double points = format.hasProperty(QTextFormat::FontPointSize)
                        ? format.fontPointSize()
                        : document_.defaultFont().pointSizeF();
    if (points <= 0) {
        points = 12;
    }
    run.halfPoints = std::clamp(static_cast<int>(std::lround(points * 2)), 1, 3276);
    run.foreground =
        format.hasProperty(QTextFormat::ForegroundBrush) ? colorIndex(format.foreground()) : 0;
    run.background =
        format.hasProperty(QTextFormat::BackgroundBrush) ? colorIndex(format.background()) : 0;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        run.script = CharProps::Script::Super;
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        run.script = CharProps::Script::Sub;
    }
    return run;
}

// Fonts and colours are numbered in order of first use, so the same document always gives the
// same tables.
void Writer::collect() {
    bool bullets = false;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            runProps(it.fragment().charFormat());
        }
        if (block.textList() != nullptr &&
            fromListFormat(block.textList()->format()).kind == ListProps::Kind::Bullet) {
            bullets = true;
        }
    }
    if (fonts_.empty()) {
        fontIndex(document_.defaultFont().family());
    }
    if (bullets) {
        symbolFont_ = fontIndex(QStringLiteral("Symbol"));
    }
}

void Writer::writeHeader(std::string& out) {
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        std::string name;
        name.swap(body_);
        delimit_ = true;
        text(fonts_[i], false);
        name.swap(body_);
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" +
               (isSymbolFamily(fonts_[i]) ? "2" : "0") + name + ";}";
    }
    out += "}";
    out += kNewline;
    if (!colors_.empty()) {
        out += "{\\colortbl ;";
        for (const QColor& color : colors_) {
            out += "\\red" + std::to_string(color.red()) + "\\green" +
                   std::to_string(color.green()) + "\\blue" + std::to_string(color.blue()) + ";";
        }
        out += "}";
        out += kNewline;
    }
    out += "{\\*\\generator Brightpost;}\\viewkind4\\uc1";
    out += kNewline;
}

void Writer::word(const char* name) {
    body_ += '\\';
    body_ += name;
    delimit_ = true;
}

void Writer::word(const char* name, long long value) {
    body_ += '\\';
    body_ += name;
    body_ += std::to_string(value);
    delimit_ = true;
}

void Writer::text(QStringView chars, bool symbolFont) {
    auto literal = [this](char c) {
        if (delimit_) {
            body_ += ' ';
            delimit_ = false;
        }
        body_ += c;
    };
    auto hex = [this](int byte) {
        static const char digits[] = "0123456789abcdef";
        body_ += "\\'";
        body_ += digits[(byte >> 4) & 0xF];
        body_ += digits[byte & 0xF];
        delimit_ = false;
    };
    for (QChar qc : chars) {
        const char16_t c = qc.unicode();
        switch (c) {
            case u'\\':
            case u'{':
            case u'}':
                body_ += '\\';
                body_ += static_cast<char>(c);
                delimit_ = false;
                continue;
            case u'\t':
                word("tab");
                continue;
            case 0x2028:
            case 0x000B:
                word("line");
                continue;
            case 0x2029:
                word("par");
                continue;
            case 0x2011:
                body_ += "\\_";
                delimit_ = false;
                continue;
            case u'\r':
            case u'\n':
                word("line");
                continue;
            default:
                break;
        }
        if (c >= 0x20 && c < 0x80) {
            literal(static_cast<char>(c));
            continue;
        }
        const int byte = symbolFont && c <= 0xFF ? c : cp1252Byte(c);
        if (byte >= 0x80) {
            hex(byte);
            continue;
        }
        // Signed 16-bit code units, with one '?' for readers that do not know \u.
        body_ += "\\u";
        body_ += std::to_string(static_cast<int>(static_cast<std::int16_t>(c)));
        body_ += '?';
        delimit_ = false;
    }
}

void Writer::switchRun(const RunProps& next) {
    if (next.bold != run_.bold) {
        word(next.bold ? "b" : "b0");
    }
    if (next.italic != run_.italic) {
        word(next.italic ? "i" : "i0");
    }
    if (next.underline != run_.underline) {
        word(next.underline ? "ul" : "ulnone");
    }
    if (next.strike != run_.strike) {
        word(next.strike ? "strike" : "strike0");
    }
    if (next.script != run_.script) {
        word(next.script == CharProps::Script::Super ? "super"
             : next.script == CharProps::Script::Sub ? "sub"
                                                     : "nosupersub");
    }
    if (next.foreground != run_.foreground) {
        word("cf", next.foreground);
    }
    if (next.background != run_.background) {
        word("highlight", next.background);
    }
    if (next.font != run_.font) {
        word("f", next.font);
    }
    if (next.halfPoints != run_.halfPoints) {
        word("fs", next.halfPoints);
    }
    run_ = next;
}

void Writer::openLink(const QString& href) {
    QString target = href;
    target.replace(u'"', QStringLiteral("%22"));
    body_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
    delimit_ = false;
    text(target, false);
    body_ += "\"}}{\\fldrslt{";
    delimit_ = false;
    savedRun_ = run_;
    openHref_ = href;
}

void Writer::closeLink() {
    if (!savedRun_) {
        return;
    }
    body_ += "}}}";
    delimit_ = false;
    run_ = *savedRun_;
    savedRun_.reset();
    openHref_.clear();
}

void Writer::writeParagraphFormat(const QTextBlock& block, const ParaProps& para) {
    word("pard");
    if (para.list.kind != ListProps::Kind::None) {
        writeMarker(block, para.list);
        const ListProps& list = para.list;
        body_ += "{\\*\\pn";
        delimit_ = true;
        if (list.kind == ListProps::Kind::Bullet) {
            word("pnlvlblt");
            word("pnf", symbolFont_);
            word("pnindent", 0);
            body_ += "{\\pntxtb\\'b7}";
            delimit_ = false;
        } else {
            word("pnlvlbody");
            word("pnf", run_.font);
            word("pnindent", 0);
            // Without \pnstart other programs count from 0; the control starts at 1.
            word("pnstart", list.start >= 0 ? list.start : 1);
            switch (list.style) {
                case QTextListFormat::ListLowerAlpha:
                    word("pnlcltr");
                    break;
                case QTextListFormat::ListUpperAlpha:
                    word("pnucltr");
                    break;
                case QTextListFormat::ListLowerRoman:
                    word("pnlcrm");
                    break;
                case QTextListFormat::ListUpperRoman:
                    word("pnucrm");
                    break;
                default:
                    word("pndec");
                    break;
            }
            if (!list.prefix.isEmpty()) {
                body_ += "{\\pntxtb";
                delimit_ = true;
                text(list.prefix, false);
                body_ += "}";
                delimit_ = false;
            }
            if (!list.suffix.isEmpty()) {
                body_ += "{\\pntxta";
                delimit_ = true;
                text(list.suffix, false);
                body_ += "}";
                delimit_ = false;
            }
        }
        body_ += "}";
        delimit_ = false;
    }
    if (para.firstIndent != 0) {
        word("fi", para.firstIndent);
    }
    if (para.leftIndent != 0) {
        word("li", para.leftIndent);
    }
    if (para.rightIndent != 0) {
        word("ri", para.rightIndent);
    }
    if (para.spaceBefore != 0) {
        word("sb", para.spaceBefore);
    }
    if (para.spaceAfter != 0) {
        word("sa", para.spaceAfter);
    }
    if (para.lineSpacing != 0) {
        word("sl", para.lineSpacing);
        word("slmult", para.lineMultiple);
    }
    switch (para.align) {
        case ParaProps::Align::Center:
            word("qc");
            break;
        case ParaProps::Align::Right:
            word("qr");
            break;
        case ParaProps::Align::Justify:
            word("qj");
            break;
        case ParaProps::Align::Left:
            break;
    }
    if (para.rightToLeft) {
        word("rtlpar");
    }
}

// The marker as drawn, for readers that do not know \pn; ours skips it.
void Writer::writeMarker(const QTextBlock& block, const ListProps& list) {
    body_ += "{\\pntext";
    delimit_ = true;
    if (list.kind == ListProps::Kind::Bullet) {
        word("f", symbolFont_);
        body_ += "\\'b7";
        delimit_ = false;
    } else {
        word("f", run_.font);
        QTextList* textList = block.textList();
        QString marker = textList != nullptr ? textList->itemText(block) : QString();
        if (list.start >= 0 && list.style == QTextListFormat::ListDecimal && textList != nullptr) {
            // Qt 6.4 always counts from 1; draw the number the list really has.
            const int number = list.start + std::max(textList->itemNumber(block), 0);
            marker = list.prefix + QString::number(number) + list.suffix;
        }
        text(marker, false);
    }
    word("tab");
    body_ += "}";
    delimit_ = false;
}

void Writer::writeImage(const QTextImageFormat& format) {
    const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QByteArray bytes;
    bool png = true;
    QImage image;
    if (resource.userType() == QMetaType::QByteArray) {
        bytes = resource.toByteArray();
        png = bytes.startsWith("\x89PNG");
        const bool jpeg = bytes.startsWith("\xFF\xD8");
        if ((!png && !jpeg) || !image.loadFromData(bytes)) {
            bytes.clear();
        }
    }
    if (bytes.isEmpty()) {
        if (resource.userType() == QMetaType::QImage) {
            image = resource.value<QImage>();
        } else if (resource.userType() == QMetaType::QPixmap) {
            return;  // pictures only the screen knows; not stored
        }
        if (image.isNull()) {
            return;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        png = true;
    }
    body_ += "{\\pict";
    delimit_ = true;
    word(png ? "pngblip" : "jpegblip");
    word("picw", image.width());
    word("pich", image.height());
    if (format.width() > 0 && format.height() > 0) {
        word("picwgoal", std::lround(format.width() * kTwipsPerPixel));
        word("pichgoal", std::lround(format.height() * kTwipsPerPixel));
    }
    body_ += kNewline;
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        body_ += digits[byte >> 4];
        body_ += digits[byte & 0xF];
        if (i % 64 == 63) {
            body_ += kNewline;
        }
    }
    body_ += "}";
    delimit_ = false;
}

void Writer::writeFragment(const QTextFragment& fragment) {
    const QTextCharFormat format = fragment.charFormat();
    const QString href = format.isAnchor() ? format.anchorHref() : QString();
    if (href != openHref_) {
        closeLink();
        if (!href.isEmpty()) {
            openLink(href);
        }
    }
    switchRun(runProps(format));
    const QString chars = fragment.text();
    if (format.isImageFormat()) {
        for (qsizetype i = 0; i < chars.size(); ++i) {
            writeImage(format.toImageFormat());
        }
        return;
    }
    QString clean = chars;
    clean.remove(QChar(QChar::ObjectReplacementCharacter));
    text(clean, isSymbolFamily(fonts_[static_cast<std::size_t>(run_.font)]));
}

std::string Writer::run() {
    collect();
    std::optional<ParaProps> previous;
    const QTextList* previousList = nullptr;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        ParaProps para = fromBlockFormat(block.blockFormat());
        if (block.textList() != nullptr) {
            para.list = fromListFormat(block.textList()->format());
        }
        // The font of the paragraph's first run is the font its marker is drawn in.
        auto first = block.begin();
        if (!first.atEnd()) {
            switchRun(runProps(first.fragment().charFormat()));
        }
        if (!previous || !(*previous == para) || block.textList() != previousList) {
            writeParagraphFormat(block, para);
        } else if (para.list.kind != ListProps::Kind::None) {
            writeMarker(block, para.list);
        }
        previous = para;
        previousList = block.textList();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            writeFragment(it.fragment());
        }
        closeLink();
        word("par");
        body_ += kNewline;
        delimit_ = false;
    }
    std::string out;
    writeHeader(out);
    out += body_;
    out += "}";
    out += kNewline;
    return out;
}

}  // namespace

std::string writeRtf(const QTextDocument& document) {
    Writer writer(document);
    return writer.run();
}

}  // namespace bp::rtf
