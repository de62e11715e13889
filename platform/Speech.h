#pragma once

#include <string>
#include <vector>

namespace bp {

// The desktop's speech synthesis. The engine speaks in its own time: a caller starts a text,
// asks now and then how far it got, and may cut it short. Nothing here blocks.
class ISpeech {
public:
    enum class Status {
        Speaking,  // started and not yet at its end
        Done,      // spoken to its end, cut short, or nothing was started
        Failed,    // the engine gave up on the text; problem() says why
    };

    virtual ~ISpeech() = default;
    // Starts speaking the text and returns at once. False when no speech engine can be made;
    // problem() then says why, in words for the user.
    virtual bool speak(const std::string& utf8Text) = 0;
    virtual Status status() = 0;
    // Discards whatever is still to be said and stops speaking.
    virtual void purge() = 0;
    virtual std::string problem() const = 0;
    // The voices the engine offers by its names for them, so the user can pick one; empty
    // when it has only its own. May make the engine, but speaks nothing.
    virtual std::vector<std::string> voices() { return {}; }
    // The voice the next texts are spoken in; empty, or one the engine no longer offers,
    // leaves the choice to the engine.
    virtual void setVoice(const std::string& name) { (void)name; }
};

}  // namespace bp
