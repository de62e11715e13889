#pragma once

#include "richtext/RtfFormats.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <memory>
#include <sstream>
#include <string>

namespace bp::test {

inline std::unique_ptr<QTextDocument> readDocument(const std::string& rtf) {
    auto document = std::make_unique<QTextDocument>();
    rtf::loadBody(rtf, *document);
    return document;
}

// What a reader of the note sees at one character: the formats the engine reads and writes.
inline std::string describeChar(const QTextDocument& document, const QTextCharFormat& format) {
    std::ostringstream out;
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? document.defaultFont().family() : families.first();
    const double points = format.hasProperty(QTextFormat::FontPointSize)
                              ? format.fontPointSize()
                              : document.defaultFont().pointSizeF();
    out << family.toStdString() << ' ' << points << "pt";
    if (format.fontWeight() >= QFont::DemiBold)
        out << " bold";
    if (format.fontItalic())
        out << " italic";
    if (format.fontUnderline())
        out << " underline";
    if (format.fontStrikeOut())
        out << " strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        out << " fg=" << format.foreground().color().name().toStdString();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        out << " bg=" << format.background().color().name().toStdString();
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out << " super";
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out << " sub";
    if (format.isAnchor())
        out << " href=" << format.anchorHref().toStdString();
    return out.str();
}

inline std::string describeBlock(const QTextBlock& block) {
    const rtf::ParaProps para = rtf::fromBlockFormat(block.blockFormat());
    std::ostringstream out;
    out << "align=" << static_cast<int>(para.align) << " li=" << para.leftIndent
        << " ri=" << para.rightIndent << " fi=" << para.firstIndent << " sb=" << para.spaceBefore
        << " sa=" << para.spaceAfter << " sl=" << para.lineSpacing << '/' << para.lineMultiple
        << (para.rightToLeft ? " rtl" : "");
    if (const QTextList* list = block.textList()) {
        const rtf::ListProps props = rtf::fromListFormat(list->format());
        out << " list=" << static_cast<int>(props.kind) << '/' << props.style << " '"
            << props.prefix.toStdString() << "' '" << props.suffix.toStdString() << "' item "
            << list->itemNumber(block);
    }
    return out.str();
}

// Text, block formats and the character format at every position, one line per change, so a
// failing comparison shows where two documents part.
inline std::string describeDocument(const QTextDocument& document) {
    std::ostringstream out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        out << "[block " << describeBlock(block) << "]\n";
        std::string last;
        QString run;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const std::string format = describeChar(document, fragment.charFormat());
            if (format != last) {
                if (!run.isEmpty())
                    out << "  " << run.toStdString() << '\n';
                run.clear();
                out << "  {" << format << "}\n";
                last = format;
            }
            run += fragment.text();
        }
        if (!run.isEmpty())
            out << "  " << run.toStdString() << '\n';
    }
    return out.str();
}

}  // namespace bp::test
