#pragma once

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/PlatformInfo.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "platform/fake/FakeWindowSystem.h"

#include <deque>
#include <string>
#include <vector>

namespace bp::fake {

// One box the program showed.
struct ShownBox {
    enum class Kind { StandardError, Message, Question };
    Kind kind;
    std::string caption;
    std::string label;
    std::string text;
    int iconId = 0;
    bool operator==(const ShownBox&) const = default;
};

// Records every box and answers questions from a script (default: "No").
class FakeUserMessages : public IUserMessages {
public:
    void standardError(const std::string& caption, const std::string& text) override {
        shown.push_back({ShownBox::Kind::StandardError, caption, {}, text, 0});
    }
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override {
        shown.push_back({ShownBox::Kind::Message, caption, label, text, iconId});
    }
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override {
        shown.push_back({ShownBox::Kind::Question, caption, label, text, iconId});
        if (answers.empty()) {
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownBox> shown;
    std::deque<bool> answers;
};

// A clock that stands still until a test moves it. Local time is UTC, so tests do not
// depend on the machine's time zone.
class FakeClock : public IClock {
public:
    std::int64_t now() const override { return seconds; }
    std::uint64_t tickCount() const override { return ticks; }
    std::tm localTime(std::int64_t s) const override;
    std::int64_t makeTime(std::tm local) const override;
    std::string format(const std::string& pattern, const std::tm& local,
                       std::size_t maxLength = 255) const override;

    // Sets the clock to a local date-time.
    void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    std::int64_t seconds = 1700000000;
    std::uint64_t ticks = 0;
};

class FakeDesktop : public IDesktop {
public:
    Rect screenRect() const override { return screen; }
    Rect availableRect() const override { return available; }
    Point cursorPos() const override { return cursor; }

    Rect screen{0, 0, 1920, 1080};
    Rect available{0, 0, 1920, 1080};
    Point cursor{};
};

class FakePlatformInfo : public IPlatformInfo {
public:
    PlatformVersion version() const override { return reported; }
    PlatformVersion reported{6, 1};
};

// Records what the program asked the desktop to open; nothing is opened.
class FakeShell : public IShell {
public:
    bool open(const std::string& target) override {
        opened.push_back(target);
        return succeeds;
    }
    std::vector<std::string> opened;
    bool succeeds = true;
};

// All fakes together, wired into a Platform.
struct FakePlatform {
    FakeUserMessages messages;
    FakeClock clock;
    FakeDesktop desktop;
    FakePlatformInfo info;
    FakeWindowSystem windows;
    FakeShell shell;

    Platform platform() { return Platform{&messages, &clock, &desktop, &info, &windows, &shell}; }
};

}  // namespace bp::fake
