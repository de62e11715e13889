#pragma once

#include <QByteArray>

#include <string>
#include <string_view>
#include <vector>

namespace bp {

// What the named actions act on: the main window's commands, each refusing on its own while
// the program cannot take it.
class IActionTarget {
public:
    virtual ~IActionTarget() = default;

    // As the hot key of the id would.
    virtual void onHotKey(int id) = 0;
    virtual void saveAllNotesUnlessBusy() = 0;
    virtual void setAutostart(bool on) = 0;
    // The program ends in order.
    virtual void requestEnd() = 0;
    // False during set-up: actions wait for its end, except "quit".
    virtual bool takesActions() const = 0;
};

// The actions a later start of the program may ask for by name, over the single-instance
// socket or the command line. A new action is one line in the table in NamedActions.cpp.
class NamedActions {
public:
    explicit NamedActions(IActionTarget& target) : target_(target) {}

    static bool exists(std::string_view name);
    // The action a request line "action <name>" names, or why the line is refused.
    struct Request {
        std::string name;
        std::string refusal;
    };
    static Request parse(const QByteArray& request);

    // Runs the action, or holds it while the target takes none. False for an unknown name.
    bool perform(const std::string& name);
    // The actions held during set-up, handed over in the order they came.
    std::vector<std::string> takeHeld();

private:
    IActionTarget& target_;
    std::vector<std::string> held_;
};

}  // namespace bp
