#include "NoteStyle.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace bp {

QColor colorFromStored(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t storedFromColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

QFont fontFromRecord(const LogFont& record) {
    QFont font;
    const std::string face = record.face();
    if (!face.empty()) {
        font.setFamilies({QString::fromLocal8Bit(face.c_str())});
    }
    // The record's height is in pixels: negative for the character height, positive for the
    // cell height, which includes the internal leading (about a fifth of it).
    int pixels = record.height < 0 ? -record.height : (record.height * 4 + 2) / 5;
    if (pixels <= 0) {
        pixels = 13;
    }
    font.setPixelSize(std::clamp(pixels, 1, 1000));
    if (record.weight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000)));
    }
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

LogFont recordFromFont(const QFont& font) {
    LogFont record;
    int pixels = font.pixelSize();
    if (pixels <= 0) {
        pixels = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    }
    record.height = -pixels;
    record.weight = font.weight();
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    record.charSet = 1;  // the default character set
    const QByteArray face = font.families().value(0, font.family()).toLocal8Bit();
    std::memcpy(record.faceName.data(), face.constData(),
                std::min<std::size_t>(static_cast<std::size_t>(face.size()), 31));
    return record;
}

void installFontSubstitutes() {
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    for (const char* face : {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Tahoma", "Verdana",
                             "Segoe UI", "Calibri"}) {
        QFont::insertSubstitutions(QString::fromLatin1(face), sans);
    }
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
}

}  // namespace bp
