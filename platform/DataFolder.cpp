#include "DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace bp {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

std::string absolute(std::string path) {
    if (!path.empty() && path.front() != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd) != nullptr) {
            path = std::string(cwd) + "/" + path;
        }
    }
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::string resolveDataFolder(const std::optional<std::string>& override) {
    if (override && !override->empty()) {
        return absolute(*override);
    }
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (xdg != nullptr && xdg[0] == '/') {
        return absolute(std::string(xdg) + "/Brightpost");
    }
    return absolute(homeFolder() + "/.local/share/Brightpost");
}

bool ensureDataFolder(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    // Parents get the usual permissions; only our own folder is private.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        std::string parent = folder.substr(0, slash);
        if (mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace bp
