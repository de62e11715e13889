#pragma once

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Notifications.h"
#include "platform/Platform.h"
#include "platform/PlatformInfo.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "platform/fake/FakeWindowSystem.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
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
        if (whileOpen) {
            whileOpen();
        }
    }
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override {
        shown.push_back({ShownBox::Kind::Message, caption, label, text, iconId});
        if (whileOpen) {
            whileOpen();
        }
    }
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override {
        shown.push_back({ShownBox::Kind::Question, caption, label, text, iconId});
        if (whileAsking) {
            whileAsking();
        }
        if (answers.empty()) {
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownBox> shown;
    std::deque<bool> answers;
    std::function<void()> whileOpen;    // runs while a box is "open", e.g. the session ends
    std::function<void()> whileAsking;  // runs while a question waits for its answer
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
    Rect workAreaAtPointer() const override { return available; }

    Rect screen{0, 0, 1920, 1080};
    Rect available{0, 0, 1920, 1080};
    Point cursor{};
};

class FakePlatformInfo : public IPlatformInfo {
public:
    PlatformVersion version() const override { return reported; }
    PlatformVersion reported{6, 1};
};

class FakeShell : public IShell {
public:
    bool open(const std::string& target) override {
        opened.push_back(target);
        return !failing.contains(target);
    }
    bool startProgram(const std::vector<std::string>& command) override {
        started.push_back(command);
        return !command.empty() && !failing.contains(command.front());
    }
    std::vector<std::string> opened;
    std::vector<std::vector<std::string>> started;  // never run: recorded only
    std::set<std::string> failing;                  // targets and programs that fail
};

class FakeSound : public ISound {
public:
    void playTones(const std::vector<Tone>& tones) override { played.push_back(tones); }
    std::vector<std::vector<Tone>> played;
};

// Answers like the desktop's power service would; counts requests, never switches anything off.
class FakePowerOff : public IPowerOff {
public:
    bool canPowerOff() override {
        ++questions;
        return allowed;
    }
    bool powerOff() override {
        ++requests;
        return succeeds;
    }
    std::string problem() const override { return problemText; }
    bool allowed = true;
    bool succeeds = true;
    std::string problemText = "logind, the system's power service, is not running";
    int questions = 0;
    int requests = 0;
};

// Speaks nothing: records each text and is "speaking" it until the test says it is done.
class FakeSpeech : public ISpeech {
public:
    bool speak(const std::string& text) override {
        if (!works) {
            return false;
        }
        spoken.push_back(text);
        speaking = true;
        return true;
    }
    Status status() override {
        if (failsWhileSpeaking && speaking) {
            return Status::Failed;
        }
        return speaking ? Status::Speaking : Status::Done;
    }
    void purge() override {
        ++purges;
        speaking = false;
    }
    std::string problem() const override { return problemText; }
    std::vector<std::string> voices() override { return offeredVoices; }
    void setVoice(const std::string& name) override { voice = name; }
    // The engine reaches the end of the text.
    void finish() { speaking = false; }

    bool works = true;                // false: no engine can be made
    bool failsWhileSpeaking = false;  // the engine gives up on the text
    std::string problemText = "No speech engine is installed.";
    bool speaking = false;
    std::vector<std::string> spoken;
    int purges = 0;
    std::vector<std::string> offeredVoices;
    std::string voice;  // as last set
};

// Records grabs; tests press registered combinations and refuse some as held elsewhere.
class FakeHotKeys : public IHotKeys {
public:
    struct Key {
        unsigned modifiers;
        unsigned virtualKey;
        bool operator==(const Key&) const = default;
    };
    bool registerKey(int id, unsigned modifiers, unsigned virtualKey) override {
        registerCalls.push_back(id);
        registered.erase(id);
        if (heldElsewhere.contains(virtualKey)) {
            return false;
        }
        registered[id] = {modifiers, virtualKey};
        return true;
    }
    void unregisterKey(int id) override { registered.erase(id); }
    void setHandler(std::function<void(int)> h) override { handler = std::move(h); }
    // The user presses the combination registered under id (nothing when none is).
    void press(int id) {
        if (registered.contains(id) && handler) {
            handler(id);
        }
    }

    std::map<int, Key> registered;
    std::vector<int> registerCalls;
    std::set<unsigned> heldElsewhere;  // virtual keys another program holds
    std::function<void(int)> handler;
};

// Answers file dialogs from a script (default: cancel).
class FakeFileDialogs : public IFileDialogs {
public:
    std::string openFile(const std::string& caption, const std::string& filter,
                         const std::string&) override {
        return answer("open", caption, filter);
    }
    std::string saveFile(const std::string& caption, const std::string& filter,
                         const std::string&) override {
        return answer("save", caption, filter);
    }
    // Answers with the next path and the next type (default 1).
    std::string saveFileOfType(const std::string& caption, const std::vector<std::string>& filters,
                               int& type, const std::string& proposedName) override {
        proposedNames.push_back(proposedName);
        std::string all;
        for (const std::string& filter : filters) {
            all += all.empty() ? filter : ";;" + filter;
        }
        type = 1;
        if (!types.empty()) {
            type = types.front();
            types.pop_front();
        }
        return answer("save", caption, all);
    }
    std::string openFolder(const std::string& caption) override {
        return answer("folder", caption, "");
    }

    struct Call {
        std::string kind;
        std::string caption;
        std::string filter;
    };
    std::vector<Call> calls;
    std::deque<std::string> answers;
    std::deque<int> types;                   // the types saveFileOfType answers with
    std::vector<std::string> proposedNames;  // what saveFileOfType proposed, call by call
    std::function<void()> whileOpen;         // runs while a dialog is "open"

private:
    std::string answer(const char* kind, const std::string& caption, const std::string& filter) {
        calls.push_back({kind, caption, filter});
        if (whileOpen) {
            whileOpen();
        }
        if (answers.empty()) {
            return {};
        }
        std::string path = answers.front();
        answers.pop_front();
        return path;
    }
};

// Runs no event loop: a test looks at each dialog through whileOpen and picks its result.
class FakeModalDialogs : public IModalDialogs {
public:
    int run(QDialog& dialog) override {
        shown.push_back(&dialog);
        return whileOpen ? whileOpen(dialog) : 0;
    }
    std::vector<QDialog*> shown;  // dangling once run returned; count and compare only
    std::function<int(QDialog&)> whileOpen;
};

// Records each notification the program shows and closes; a test presses its actions or
// dismisses it as the user would, or takes the server away.
class FakeDesktopNotifications : public IDesktopNotifications {
public:
    struct Shown {
        Notification notification;
        Handlers handlers;
        bool open = true;
    };
    Id show(const Notification& notification, Handlers handlers) override {
        if (!serverRunning) {
            return 0;
        }
        shown.push_back({notification, std::move(handlers), true});
        return shown.size();
    }
    void close(Id id) override {
        closeCalls.push_back(id);
        if (id != 0 && id <= shown.size()) {
            shown[id - 1].open = false;
        }
    }
    // The user presses an action of an open notification.
    void invoke(Id id, const std::string& key) {
        // A copy: the handler may show another notification, which moves the list.
        const auto handler = shown.at(id - 1).handlers.actionInvoked;
        if (shown.at(id - 1).open && handler) {
            handler(key);
        }
    }
    // The server took it away, for the reason given.
    void closedByServer(Id id, ClosedReason reason) {
        Shown& entry = shown.at(id - 1);
        if (!entry.open) {
            return;
        }
        entry.open = false;
        if (const auto handler = entry.handlers.closed) {
            handler(reason);
        }
    }
    std::size_t openCount() const {
        return static_cast<std::size_t>(
            std::count_if(shown.begin(), shown.end(), [](const Shown& s) { return s.open; }));
    }

    bool serverRunning = true;
    std::vector<Shown> shown;  // the Id of shown[i] is i + 1
    std::vector<Id> closeCalls;
};

// All fakes together, wired into a Platform.
struct FakePlatform {
    FakeUserMessages messages;
    FakeClock clock;
    FakeDesktop desktop;
    FakePlatformInfo info;
    FakeWindowSystem windows;
    FakeShell shell;
    FakeHotKeys hotKeys;
    FakeFileDialogs fileDialogs;
    FakeModalDialogs modalDialogs;
    FakeSound sound;
    FakePowerOff powerOff;
    FakeSpeech speech;
    FakeDesktopNotifications notifications;

    Platform platform() {
        Platform p{&messages, &clock,   &desktop,     &info,        &windows,
                   &shell,    &hotKeys, &fileDialogs, &modalDialogs};
        p.sound = &sound;
        p.powerOff = &powerOff;
        p.speech = &speech;
        p.notifications = &notifications;
        return p;
    }
};

}  // namespace bp::fake
