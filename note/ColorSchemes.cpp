#include "ColorSchemes.h"

namespace bp {

namespace {

std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return r + 256 * g + 65536 * b;
}

unsigned channelSum(std::uint32_t color) {
    return (color & 0xFF) + ((color >> 8) & 0xFF) + ((color >> 16) & 0xFF);
}

struct Bits {
    unsigned r = 1, g = 1, b = 1;
};

// Three random channel bits; all three set would make white, so that draw is repeated.
Bits drawBits(const std::function<unsigned()>& random) {
    Bits bits;
    while (bits.r == 1 && bits.g == 1 && bits.b == 1) {
        bits.r = random() & 1;
        bits.g = random() & 1;
        bits.b = random() & 1;
    }
    return bits;
}

struct Backgrounds {
    std::uint32_t title;
    std::uint32_t body;
};

Backgrounds backgrounds(Bits bits, unsigned level, unsigned fullGreen) {
    const unsigned lighter = level + 11;
    const unsigned g = bits.g ? fullGreen : 0;
    return {rgb(bits.r ? 255 : level, bits.g ? g : level, bits.b ? 255 : level),
            rgb(bits.r ? 255 : lighter, bits.g ? g : lighter, bits.b ? 255 : lighter)};
}

}  // namespace

NoteColors chooseRandomColors(const std::function<unsigned()>& random) {
    const Bits bits = drawBits(random);
    const unsigned drawn = random() % 255;
    unsigned level = drawn > 225 ? drawn - 30 : drawn;
    if (drawn < 10) {
        level += 10;
    }
    // Green alone is full at 225: a full 255 green is too harsh to read on.
    const bool greenAlone = bits.g == 1 && bits.r == 0 && bits.b == 0;
    const Backgrounds back = backgrounds(bits, level, greenAlone ? 225 : 255);
    const unsigned titleSum = channelSum(back.title);
    const unsigned bodySum = channelSum(back.body);
    return {back.title, titleSum <= 401 ? kWhite : kBlack, back.body,
            (titleSum > 401 && bodySum > 401) ? kBlack : kWhite};
}

NoteColors chooseRandomScheme(const std::function<unsigned()>& random) {
    const Bits bits = drawBits(random);
    unsigned level = random() % 255;
    if (level > 225) {
        level -= 30;
    }
    if (level < 55) {
        level += 55;
    }
    const Backgrounds back = backgrounds(bits, level, 255);
    auto textOn = [](std::uint32_t color) { return channelSum(color) > 333 ? kBlack : kWhite; };
    return {back.title, textOn(back.title), back.body, textOn(back.body)};
}

}  // namespace bp
