#pragma once

#include <cstdint>
#include <functional>

namespace bp {

// The colours of a note, each stored as 0x00BBGGRR.
struct NoteColors {
    std::uint32_t titleBack = 0;
    std::uint32_t titleFont = 0;
    std::uint32_t bodyBack = 0;
    std::uint32_t bodyFont = 0;
    bool operator==(const NoteColors&) const = default;
};

inline constexpr std::uint32_t kWhite = 16777215;
inline constexpr std::uint32_t kBlack = 0;

// Both schemes have one or two full channels (never three, so never white) and the others at
// one random level, the body a little lighter than the title; they differ in how dark the
// level may go and in where text switches from white to black.

// The colours of a brand-new note.
NoteColors chooseRandomColors(const std::function<unsigned()>& random);

// The scheme a user asks for on an existing note: never darker than 55 per channel, and each
// text colour readable on its own background.
NoteColors chooseRandomScheme(const std::function<unsigned()>& random);

}  // namespace bp
