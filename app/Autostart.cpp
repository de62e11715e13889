#include "Autostart.h"

#include "store/DatabaseFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace bp {

namespace fs = std::filesystem;

namespace {

constexpr const char* kEntryName = "brightpost.desktop";

}  // namespace

std::string desktopExecArgument(const std::string& path) {
    std::string escaped;
    bool quote = false;
    for (char c : path) {
        if (c == '%') {
            escaped += "%%";
            continue;
        }
        // A line break would end the key: the key's own escapes keep it on one line.
        if (c == '\n' || c == '\t' || c == '\r') {
            quote = true;
            escaped += c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
            continue;
        }
        if (std::strchr(" \t\n\"'\\><~|&;$*?#()`", c) != nullptr) {
            quote = true;
        }
        // Inside quotes these four need a backslash; the key's own escaping then doubles it.
        if (c == '"' || c == '`' || c == '$') {
            escaped += "\\\\";
        } else if (c == '\\') {
            escaped += "\\\\\\";
        }
        escaped += c;
    }
    return quote ? "\"" + escaped + "\"" : escaped;
}

Autostart::Autostart(std::string executable, const std::string& configHome, const std::string& home)
    : executable_(std::move(executable)) {
    // A relative $XDG_CONFIG_HOME is invalid and must be ignored.
    const std::string config =
        !configHome.empty() && configHome.front() == '/' ? configHome : home + "/.config";
    folder_ = config + "/autostart";
    entryPath_ = folder_ + "/" + kEntryName;
}

bool Autostart::installed() const {
    if (executable_.empty() || executable_.front() != '/') {
        return false;
    }
    const fs::path bin = fs::path(executable_).parent_path();
    if (bin.filename() != "bin") {
        return false;
    }
    std::error_code error;
    return fs::is_regular_file(bin.parent_path() / "share" / "applications" / kEntryName, error);
}

std::string Autostart::entryText() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Brightpost\n"
           "Comment=Sticky notes on your desktop\n"
           "Exec=" +
           desktopExecArgument(executable_) +
           "\n"
           "Icon=brightpost\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string Autostart::apply(bool on) const {
    std::error_code error;
    if (!on) {
        if (!fs::remove(entryPath_, error) && error) {
            return "cannot remove " + entryPath_ + ": " + error.message();
        }
        return {};
    }
    const std::string text = entryText();
    // A named pipe in the entry's place would hold the start until something wrote to it.
    if (dbfile::readRegularFile(entryPath_) == text) {
        return {};
    }
    fs::create_directories(folder_, error);
    if (error) {
        return "cannot create " + folder_ + ": " + error.message();
    }
    // Written beside and moved over, so a session that starts meanwhile never reads half an entry.
    const std::string temporary = entryPath_ + ".new";
    // Whatever an interrupted write left there (a named pipe would hold the write) goes first.
    fs::remove(temporary, error);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            const std::string problem = std::strerror(errno);
            fs::remove(temporary, error);
            return "cannot write " + temporary + ": " + problem;
        }
    }
    fs::rename(temporary, entryPath_, error);
    if (error) {
        const std::string problem = error.message();
        fs::remove(temporary, error);
        return "cannot write " + entryPath_ + ": " + problem;
    }
    return {};
}

}  // namespace bp
