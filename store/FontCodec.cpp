#include "FontCodec.h"

#include <algorithm>
#include <cstring>

namespace bp {

namespace {

// Six bits per character, most significant first; '=' is a digit, not padding.
constexpr std::string_view kAlphabet =
    "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ0123456789+=";
static_assert(kAlphabet.size() == 64);
constexpr std::size_t kEncodedSize = 80;

int valueOf(char c) {
    const auto at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

void putInt(std::uint8_t* out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
    }
}

std::int32_t getInt(const std::uint8_t* in) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) {
        u = (u << 8) | in[i];
    }
    return static_cast<std::int32_t>(u);
}

constexpr std::string_view kDateFormats[kDateFormatCount] = {
    "",
    "%b %d, %Y",
    "%m-%d-%Y",
    "%d %b %Y",
    "%d-%m-%Y",
    "%Y %b %d",
    "%Y-%m-%d",
    "%b %d, %Y - %I:%M %p",
    "%m-%d-%Y - %I:%M %p",
    "%d %b %Y - %H:%M",
    "%d-%m-%Y - %H:%M",
    "%Y %b %d - %H:%M",
    "%Y-%m-%d - %H:%M",
    "%b %d, %Y - %I:%M:%S %p",
    "%m-%d-%Y - %I:%M:%S %p",
    "%d %b %Y - %H:%M:%S",
    "%d-%m-%Y - %H:%M:%S",
    "%Y %b %d - %H:%M:%S",
    "%Y-%m-%d - %H:%M:%S",
};

}  // namespace

std::array<std::uint8_t, LogFont::kSize> LogFont::toBytes() const {
    std::array<std::uint8_t, kSize> b{};
    putInt(&b[0], height);
    putInt(&b[4], width);
    putInt(&b[8], escapement);
    putInt(&b[12], orientation);
    putInt(&b[16], weight);
    b[20] = italic;
    b[21] = underline;
    b[22] = strikeOut;
    b[23] = charSet;
    b[24] = outPrecision;
    b[25] = clipPrecision;
    b[26] = quality;
    b[27] = pitchAndFamily;
    std::memcpy(&b[28], faceName.data(), faceName.size());
    return b;
}

LogFont LogFont::fromBytes(const std::array<std::uint8_t, kSize>& b) {
    LogFont f;
    f.height = getInt(&b[0]);
    f.width = getInt(&b[4]);
    f.escapement = getInt(&b[8]);
    f.orientation = getInt(&b[12]);
    f.weight = getInt(&b[16]);
    f.italic = b[20];
    f.underline = b[21];
    f.strikeOut = b[22];
    f.charSet = b[23];
    f.outPrecision = b[24];
    f.clipPrecision = b[25];
    f.quality = b[26];
    f.pitchAndFamily = b[27];
    std::memcpy(f.faceName.data(), &b[28], f.faceName.size());
    return f;
}

std::string LogFont::face() const {
    const auto end = std::find(faceName.begin(), faceName.end(), '\0');
    return std::string(faceName.begin(), end);
}

std::string EncodeFont(const LogFont& font) {
    const auto bytes = font.toBytes();
    std::string text;
    text.reserve(kEncodedSize);
    // Three bytes make four characters; 60 bytes divide evenly, so there is no padding.
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t group =
            (std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) {
            text.push_back(kAlphabet[(group >> shift) & 0x3F]);
        }
    }
    return text;
}

bool IsEncodedFont(std::string_view text) {
    if (text.size() != kEncodedSize) {
        return false;
    }
    for (char c : text) {
        if (valueOf(c) < 0) {
            return false;
        }
    }
    return true;
}

LogFont DecodeFont(std::string_view text) {
    if (!IsEncodedFont(text)) {
        return LogFont{};
    }
    std::array<std::uint8_t, LogFont::kSize> bytes{};
    for (std::size_t i = 0, o = 0; i < kEncodedSize; i += 4, o += 3) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            group = (group << 6) | static_cast<std::uint32_t>(valueOf(text[i + k]));
        }
        bytes[o] = static_cast<std::uint8_t>(group >> 16);
        bytes[o + 1] = static_cast<std::uint8_t>(group >> 8);
        bytes[o + 2] = static_cast<std::uint8_t>(group);
    }
    return LogFont::fromBytes(bytes);
}

std::string GetDateFormat(int index) {
    if (index < 0 || index >= kDateFormatCount) {
        return {};
    }
    return std::string(kDateFormats[index]);
}

}  // namespace bp
