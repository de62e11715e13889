#include "NoteDefaults.h"

#include "store/FontCodec.h"
#include "store/NotesDatabase.h"

namespace bp {

namespace {

std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return r + 256 * g + 65536 * b;
}

}  // namespace

NoteColors chooseRandomColors(const std::function<unsigned()>& random) {
    unsigned r = 1;
    unsigned g = 1;
    unsigned b = 1;
    while (r == 1 && g == 1 && b == 1) {
        r = random() & 1;
        g = random() & 1;
        b = random() & 1;
    }
    const unsigned drawn = random() % 255;
    unsigned v = drawn;
    if (v > 225) {
        v -= 30;
    }
    if (drawn < 10) {
        v += 10;
    }
    const unsigned w = v + 11;
    // Green alone is full at 225: a full 255 green is too harsh to read on.
    const unsigned greenFull = (r == 0 && b == 0) ? 225 : 255;
    const unsigned tr = r ? 255 : v, tg = g ? greenFull : v, tb = b ? 255 : v;
    const unsigned br = r ? 255 : w, bg = g ? greenFull : w, bb = b ? 255 : w;

    NoteColors colors;
    colors.titleBack = rgb(tr, tg, tb);
    colors.bodyBack = rgb(br, bg, bb);
    const unsigned titleSum = tr + tg + tb;
    const unsigned bodySum = br + bg + bb;
    colors.titleFont = titleSum <= 401 ? kWhite : kBlack;
    colors.bodyFont = (titleSum > 401 && bodySum > 401) ? kBlack : kWhite;
    return colors;
}

std::string composeDefaultTitle(const IClock& clock, const std::string& titleDefaults,
                                const std::string& titleText, int titleOrder) {
    const std::string dateFormat = GetDateFormat(CNotesDatabase::ParseInt(titleDefaults));
    // With no date format or no text there is nothing to join; a lone blank is no title.
    std::string pattern;
    if (dateFormat.empty() || titleText.empty()) {
        pattern = dateFormat + titleText;
    } else if (titleOrder == 0) {
        pattern = dateFormat + " " + titleText;
    } else {
        pattern = titleText + " " + dateFormat;
    }
    return clock.formatNow(pattern, 127);
}

}  // namespace bp
