#pragma once

#include <string>

namespace bp {

// The XDG autostart entry that starts the program with the desktop session. It is kept only for
// an installed copy: an entry pointing into a build folder would outlive that folder.
class Autostart {
public:
    // executable: the running program's absolute path; configHome: $XDG_CONFIG_HOME, or empty to
    // use home + "/.config".
    Autostart(std::string executable, const std::string& configHome, const std::string& home);

    // Installed means the program sits in PREFIX/bin next to PREFIX/share/applications' entry
    // for it, as the install step and the package put it.
    bool installed() const;

    std::string entryPath() const { return entryPath_; }
    std::string entryText() const;

    // Writes the entry (on) or removes it (off); an entry that already says the same is left
    // alone. Returns an empty string, or what went wrong.
    std::string apply(bool on) const;

private:
    std::string executable_;
    std::string folder_;
    std::string entryPath_;
};

// The executable as a desktop entry's Exec key wants it: quoted when it holds a character the
// key reserves, with '%' doubled so it is never read as a field code.
std::string desktopExecArgument(const std::string& path);

}  // namespace bp
