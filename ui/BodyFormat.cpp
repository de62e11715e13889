#include "BodyFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bp {

namespace {

// Rounds a x b / c to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    const long long rounded =
        ((product < 0) != (c < 0)) ? (product - half) / c : (product + half) / c;
    return static_cast<int>(rounded);
}

QTextCharFormat withoutPixelSize(QTextCharFormat format) {
    format.clearProperty(QTextFormat::FontPixelSize);
    return format;
}

}  // namespace

int twipsFromRecordHeight(int height, int dpi) {
    if (dpi <= 0) {
        return 0;
    }
    return std::abs(static_cast<int>(static_cast<long long>(height) * 1440 / dpi));
}

double pointSizeOf(const QTextCharFormat& format, const QFont& documentFont, int dpi) {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        return format.fontPointSize();
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        const int pixels = format.intProperty(QTextFormat::FontPixelSize);
        if (pixels > 0 && dpi > 0) {
            return pixels * 72.0 / dpi;
        }
    }
    if (documentFont.pointSizeF() > 0) {
        return documentFont.pointSizeF();
    }
    if (documentFont.pixelSize() > 0 && dpi > 0) {
        return documentFont.pixelSize() * 72.0 / dpi;
    }
    return 12.0;
}

LogFont charFormatToLogFont(const QTextCharFormat& format, const QFont& documentFont, int dpi) {
    LogFont record;
    const int twips = static_cast<int>(std::lround(pointSizeOf(format, documentFont, dpi) * 20.0));
    int points = twips / 20;
    if (twips % 20 > 10) {
        ++points;
    }
    record.height = -mulDiv(points, dpi, 72);
    QString face = format.fontFamilies().toStringList().value(0);
    if (face.isEmpty()) {
        face = documentFont.families().value(0, documentFont.family());
    }
    const QByteArray bytes = face.toLocal8Bit();
    std::memcpy(record.faceName.data(), bytes.constData(),
                std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), 31));
    record.charSet = 1;  // the default character set: Qt keeps no character set per run
    record.italic = format.fontItalic() ? 1 : 0;
    record.underline = format.fontUnderline() ? 1 : 0;
    record.strikeOut = format.fontStrikeOut() ? 1 : 0;
    record.weight = isBold(format) ? 700 : 400;
    return record;
}

QTextCharFormat fontFormatFromLogFont(const LogFont& font, int dpi) {
    QTextCharFormat format;
    const std::string face = font.face();
    if (!face.empty()) {
        format.setFontFamilies(QStringList{QString::fromLocal8Bit(face.c_str())});
    }
    const int twips = twipsFromRecordHeight(font.height, dpi);
    if (twips > 0) {
        format.setFontPointSize(twips / 20.0);
    }
    format.setFontWeight(font.weight > 0 ? std::clamp(font.weight, 1, 1000) : QFont::Normal);
    format.setFontItalic(font.italic != 0);
    format.setFontUnderline(font.underline != 0);
    format.setFontStrikeOut(font.strikeOut != 0);
    return format;
}

QTextCharFormat colorFormat(const QColor& color) {
    QTextCharFormat format;
    format.setForeground(QColor(color.red(), color.green(), color.blue()));
    return format;
}

void mergeOverSelection(QTextCursor& cursor, const QTextCharFormat& format) {
    if (!cursor.hasSelection()) {
        return;
    }
    QTextDocument* document = cursor.document();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const bool dropPixels = format.hasProperty(QTextFormat::FontPointSize);
    // Setting a format splits and joins the document's fragments, which leaves a fragment
    // iterator pointing at freed or reused ones: every range is read before the first write.
    struct Range {
        int from;
        int to;
        QTextCharFormat merged;
    };
    std::vector<Range> ranges;
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from >= to) {
                continue;
            }
            QTextCharFormat merged = fragment.charFormat();
            merged.merge(format);
            if (dropPixels) {
                merged = withoutPixelSize(merged);
            }
            ranges.push_back({from, to, merged});
        }
    }
    QTextCursor edit(document);
    edit.beginEditBlock();
    for (const Range& range : ranges) {
        edit.setPosition(range.from);
        edit.setPosition(range.to, QTextCursor::KeepAnchor);
        edit.setCharFormat(range.merged);
    }
    edit.endEditBlock();
}

QTextCharFormat insertionFormat(const QTextCharFormat& current, const QTextCharFormat& format) {
    QTextCharFormat merged = current;
    merged.merge(format);
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        merged = withoutPixelSize(merged);
    }
    merged.setAnchor(false);
    merged.clearProperty(QTextFormat::AnchorHref);
    merged.clearProperty(QTextFormat::AnchorName);
    return merged;
}

bool isBold(const QTextCharFormat& format) {
    return format.fontWeight() >= QFont::DemiBold;
}

}  // namespace bp
