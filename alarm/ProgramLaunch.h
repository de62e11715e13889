#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bp {

class IShell;

// The words of a command line, quoted as in a shell but with nothing expanded: blanks part
// words; '…' keeps everything inside; "…" keeps everything but a backslash before " \ $ or `;
// outside quotes a backslash keeps the next character. None for an open quote or a trailing
// backslash.
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view text);

// The path as one word of a command line: unchanged when nothing in it needs quoting, else in
// single quotes, so that arguments can be written after it.
std::string QuotedForCommandLine(const std::string& path);

// What the alarm's "Open" text asks for.
struct ProgramLaunch {
    enum class Kind {
        Run,       // start command directly
        Document,  // hand target to the desktop's opener
        Nothing,   // an empty text
    };
    Kind kind = Kind::Nothing;
    std::vector<std::string> command;
    std::string target;
    bool operator==(const ProgramLaunch&) const = default;
};

// A text that names an executable file as a whole (as Browse fills it, blanks and all) runs
// it without arguments; else its first word, a path or a name found in searchPath (the
// colon-separated PATH), runs with the other words as arguments. Anything else (a document,
// a folder, an address) goes to the opener as before.
ProgramLaunch ChooseProgramLaunch(const std::string& text, const std::string& searchPath);

// Carries the text out through the shell, searching the program's PATH; true when the
// program started or the opener took the target.
bool LaunchProgram(IShell& shell, const std::string& text);

}  // namespace bp
