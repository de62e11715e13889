#include "DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

FolderCheck preparePrivateFolder(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
        // Parents get the usual permissions; only our own folder is private.
        for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
             slash = folder.find('/', slash + 1)) {
            std::string parent = folder.substr(0, slash);
            if (mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST) {
                break;
            }
        }
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            return {false, "Brightpost cannot create the folder \"" + folder +
                               "\": " + std::strerror(error) + "."};
        }
        if (stat(folder.c_str(), &st) != 0) {
            const int error = errno;
            return {false, "Brightpost cannot use the folder \"" + folder +
                               "\": " + std::strerror(error) + "."};
        }
    }
    if (!S_ISDIR(st.st_mode)) {
        return {false, "\"" + folder +
                           "\" is not a folder. Choose a folder for your notes with --data-dir."};
    }
    if (st.st_uid != geteuid()) {
        return {false, "The folder \"" + folder +
                           "\" belongs to another user, so your notes would not be safe in it. "
                           "Choose a folder of your own with --data-dir, or make this one "
                           "yours (chown)."};
    }
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return {false, "Other users can change the folder \"" + folder +
                           "\", so your notes would not be safe in it. Make it private with: "
                           "chmod 700 \"" +
                           folder + "\""};
    }
    // On a read-only file system nobody can plant anything, and the notes in the folder are
    // still worth showing: it is used as it is, and saving says why it cannot.
    if ((st.st_mode & 07777) != 0700 && chmod(folder.c_str(), 0700) != 0 && errno != EROFS) {
        const int error = errno;
        return {false, "Brightpost cannot make the folder \"" + folder +
                           "\" private: " + std::strerror(error) + "."};
    }
    return {true, {}};
}

}  // namespace bp
