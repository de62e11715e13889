#pragma once

#include <vector>

namespace bp {

struct Tone {
    int frequencyHz = 0;
    int durationMs = 0;
};

// The alarm's beep. Playing never blocks the caller: every note shares the GUI thread, so a
// blocking beep would freeze them all. With no audio output nothing plays.
class ISound {
public:
    virtual ~ISound() = default;
    // Plays the tones one after the other and returns at once.
    virtual void playTones(const std::vector<Tone>& tones) = 0;
};

}  // namespace bp
