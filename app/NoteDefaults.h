#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <string>

namespace bp {

// Colours of a new note, each 0x00BBGGRR.
struct NoteColors {
    std::uint32_t titleBack = 0;
    std::uint32_t titleFont = 0;
    std::uint32_t bodyBack = 0;
    std::uint32_t bodyFont = 0;
    bool operator==(const NoteColors&) const = default;
};

inline constexpr std::uint32_t kWhite = 16777215;
inline constexpr std::uint32_t kBlack = 0;

// A random colour scheme: one or two full channels (never all three, so never white), the
// others at one random level; the body a little lighter than the title, and text colours
// that stay readable on both.
NoteColors chooseRandomColors(const std::function<unsigned()>& random);

// The title of a new note: the current local time in one of the date formats, joined with
// the user's title text in the chosen order.
std::string composeDefaultTitle(const IClock& clock, const std::string& titleDefaults,
                                const std::string& titleText, int titleOrder);

}  // namespace bp
