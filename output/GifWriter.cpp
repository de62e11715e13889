#include "GifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <unordered_map>

namespace bp {

namespace {

int distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

}  // namespace

IndexedPicture indexColours(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, std::size_t> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            ++counts[line[x] | 0xFF000000u];
        }
    }
    std::vector<std::pair<QRgb, std::size_t>> byCount(counts.begin(), counts.end());
    // Ties by colour value, so the same picture always gives the same file.
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    IndexedPicture out;
    std::unordered_map<QRgb, std::uint8_t> index;
    for (const auto& [colour, count] : byCount) {
        if (out.palette.size() == 256) {
            break;
        }
        index[colour] = static_cast<std::uint8_t>(out.palette.size());
        out.palette.push_back(colour);
    }
    for (const auto& [colour, count] : byCount) {
        if (!index.contains(colour)) {
            const auto nearest = std::min_element(
                out.palette.begin(), out.palette.end(),
                [c = colour](QRgb a, QRgb b) { return distance(a, c) < distance(b, c); });
            index[colour] = static_cast<std::uint8_t>(nearest - out.palette.begin());
        }
    }
    out.pixels.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out.pixels.push_back(index[line[x] | 0xFF000000u]);
        }
    }
    return out;
}

QByteArray encodeGif(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    const IndexedPicture picture = indexColours(image);
    // The colour table's size is a power of two, at least 2.
    int tableSize = 2;
    while (tableSize < static_cast<int>(picture.palette.size())) {
        tableSize *= 2;
    }
    std::vector<GifColorType> colours(tableSize, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < picture.palette.size(); ++i) {
        colours[i] = {static_cast<GifByteType>(qRed(picture.palette[i])),
                      static_cast<GifByteType>(qGreen(picture.palette[i])),
                      static_cast<GifByteType>(qBlue(picture.palette[i]))};
    }
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendBytes, &error);
    if (gif == nullptr) {
        return {};
    }
    ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
    bool ok = map != nullptr &&
              EGifPutScreenDesc(gif, image.width(), image.height(), GifBitSize(tableSize), 0,
                                map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y) {
        auto* row = const_cast<GifPixelType*>(picture.pixels.data() +
                                              static_cast<std::size_t>(y) * image.width());
        ok = EGifPutLine(gif, row, image.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? bytes : QByteArray();
}

}  // namespace bp
