#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace bp {

// A picture reduced to at most 256 colours: the palette and one index per pixel, row by row.
struct IndexedPicture {
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels;
};

// Keeps every colour exactly while there are at most 256 of them, as in a note of flat
// colours. Beyond that the 256 most frequent stay exact and the rest take the nearest of
// them, so the title and body colours never shift.
IndexedPicture indexColours(const QImage& image);

// The image as a GIF file, or empty when the encoder fails.
QByteArray encodeGif(const QImage& image);

}  // namespace bp
