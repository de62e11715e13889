#include "SettingsRules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace bp::settings {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

template <std::size_t N>
std::optional<int> indexOf(const std::string_view (&names)[N], std::string_view text, int first) {
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == text) {
            return first + static_cast<int>(i);
        }
    }
    return std::nullopt;
}

constexpr std::string_view kShowNotesModes[] = {"Remember notes' state", "Show all notes",
                                                "Hide all notes"};
constexpr std::string_view kPriorities[] = {"Low", "Regular", "High"};
constexpr std::string_view kBorders[] = {"Plain", "3D Thin", "3D Thick"};

}  // namespace

int readNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return value;
}

std::optional<int> showNotesModeFor(std::string_view text) {
    return indexOf(kShowNotesModes, text, 0);
}

std::optional<int> priorityFor(std::string_view text) {
    return indexOf(kPriorities, text, 0);
}

std::optional<int> borderFor(std::string_view text) {
    return indexOf(kBorders, text, 1);
}

std::string borderName(int border) {
    return std::string(border >= 1 && border <= 3 ? kBorders[border - 1] : kBorders[1]);
}

NoteSizes fitNoteSizes(NoteSizes s, int desktopWidth, int desktopHeight) {
    s.minWidth = std::max(std::min(s.minWidth, desktopWidth), kSmallestMinWidth);
    s.minHeight = std::max(std::min(s.minHeight, desktopHeight), kSmallestMinHeight);
    s.width = s.width < s.minWidth ? s.minWidth : std::min(s.width, desktopWidth);
    s.height = s.height < s.minHeight ? s.minHeight : std::min(s.height, desktopHeight);
    return s;
}

std::string cutTitleText(std::string_view text) {
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
            if (characters == kTitleTextLength) {
                break;
            }
            ++characters;
        }
        ++at;
    }
    return std::string(text.substr(0, at));
}

}  // namespace bp::settings
