#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bp {

// A font description in the 60-byte little-endian layout the database has always stored:
// five 32-bit integers, eight single bytes, a 32-byte face name. The note window builds its
// fonts from it; the store only encodes and decodes it.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    // Zero-terminated; every one of the 32 bytes is kept, even those after the terminator.
    std::array<char, 32> faceName{};

    static constexpr std::size_t kSize = 60;
    std::array<std::uint8_t, kSize> toBytes() const;
    static LogFont fromBytes(const std::array<std::uint8_t, kSize>& bytes);
    // The face name up to its terminator.
    std::string face() const;
    bool operator==(const LogFont&) const = default;
};

// The 80-character text form of a font record.
std::string EncodeFont(const LogFont& font);
// True when text is exactly 80 characters of the font alphabet.
bool IsEncodedFont(std::string_view text);
// Any text that is not an encoded font decodes to the all-zero record.
LogFont DecodeFont(std::string_view text);

// The strftime pattern of a default-title date format, 0 to 18; any other index gives the
// empty pattern, like index 0.
std::string GetDateFormat(int index);
inline constexpr int kDateFormatCount = 19;

}  // namespace bp
