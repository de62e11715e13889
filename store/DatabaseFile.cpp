#include "DatabaseFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace bp::dbfile {

namespace {

// Closes a descriptor on every path out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // close(2) can report a late write error; it counts.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int causeOf(int error) {
    switch (error) {
        case ENOENT:
            return 2;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return 5;
        case EIO:
            return 10;
        case EWOULDBLOCK:
            return 11;
        case ENOSPC:
        case EDQUOT:
            return 13;
        default:
            return 1;
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, std::string& out) {
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return true;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileIdentity identityOf(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
            static_cast<long long>(st.st_mtim.tv_nsec)};
}

// A named pipe without a writer (or, to write, without a reader) holds open(2) until one
// comes, which may be never, and a signal does not end that wait; a device may never end its
// data. Files from outside are therefore opened without waiting and used only when they are
// regular files, and the descriptor then blocks again as usual.
int openWithoutWaiting(const std::string& path, int flags, mode_t mode = 0) {
    return ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
}

// False, with errno set, when the descriptor is not a regular file (EINVAL, or EISDIR for a
// folder) or cannot be made blocking again.
bool regularAndBlocking(int fd, struct stat& st) {
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool isSpecial(const struct stat& st) {
    return !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode);
}

void syncFolder(const std::string& folder) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok()) {
        ::fsync(dir.get());
    }
}

}  // namespace

ReadResult readDatabaseText(const std::string& path) {
    ReadResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::CannotOpen;
        return result;
    }
    if (isSpecial(st)) {
        result.status = ReadStatus::NotAFile;
        return result;
    }
    // Something may have taken the file's place since the stat.
    Fd fd(openWithoutWaiting(path, O_RDONLY));
    if (!fd.ok() || !regularAndBlocking(fd.get(), st)) {
        result.status = fd.ok() && isSpecial(st) ? ReadStatus::NotAFile : ReadStatus::CannotOpen;
        return result;
    }
    result.identity = identityOf(st);
    // Other copies of the program write through a temporary file and a rename, so a shared
    // lock only keeps out writers that write the file in place.
    ::flock(fd.get(), LOCK_SH);
    std::string bytes;
    if (!readAll(fd.get(), bytes)) {
        result.status = ReadStatus::CannotOpen;
        return result;
    }
    if (bytes.size() < 4) {
        // Too short to hold a length: nothing readable, which the validation reports.
        result.status = ReadStatus::Ok;
        return result;
    }
    std::uint32_t raw = 0;
    for (int i = 3; i >= 0; --i) {
        raw = (raw << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    const auto length = static_cast<std::int32_t>(raw);
    if (length < 0 || static_cast<std::size_t>(length) > bytes.size() - 4) {
        result.status = ReadStatus::BadLength;
        return result;
    }
    std::string_view text(bytes.data() + 4, static_cast<std::size_t>(length));
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) {
        text = text.substr(0, zero);
    }
    result.text.assign(text);
    result.status = ReadStatus::Ok;
    return result;
}

namespace {

int writeWithFlags(const std::string& path, std::string_view text, int flags, mode_t mode,
                   bool privateFile) {
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
        return 1;
    }
    // O_TRUNC does nothing to a named pipe or a device, so one at the path keeps its place.
    Fd fd(openWithoutWaiting(path, O_WRONLY | O_CREAT | flags, mode));
    if (!fd.ok()) {
        return errno == ENXIO ? 3 : causeOf(errno);
    }
    struct stat st {};
    if (!regularAndBlocking(fd.get(), st)) {
        return S_ISREG(st.st_mode) ? causeOf(errno) : 3;
    }
    const int cause = [&] {
        if (privateFile) {
            ::fchmod(fd.get(), 0600);
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            return 11;
        }
        const auto length = static_cast<std::uint32_t>(text.size());
        const char prefix[4] = {
            static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
            static_cast<char>((length >> 16) & 0xFF), static_cast<char>((length >> 24) & 0xFF)};
        if (!writeAll(fd.get(), prefix, 4) || !writeAll(fd.get(), text.data(), text.size()) ||
            ::fsync(fd.get()) != 0) {
            return causeOf(errno);
        }
        return fd.close() ? 0 : causeOf(errno);
    }();
    if (cause != 0) {
        // What this call truncated or made is now half a database.
        ::unlink(path.c_str());
    }
    return cause;
}

}  // namespace

int writeDatabaseText(const std::string& path, std::string_view text, bool privateFile) {
    // Our own files are never written through a link someone put in their place.
    const int flags = O_TRUNC | (privateFile ? O_NOFOLLOW : 0);
    return writeWithFlags(path, text, flags, privateFile ? 0600 : 0666, privateFile);
}

int createDatabaseText(const std::string& path, std::string_view text) {
    // A leftover of an interrupted save, or anything planted under the name, goes first:
    // the file written is always one this call made.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return causeOf(errno);
    }
    return writeWithFlags(path, text, O_EXCL | O_NOFOLLOW, 0600, true);
}

std::optional<FileIdentity> identify(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return identityOf(st);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::optional<std::string> readRegularFile(const std::string& path) {
    Fd in(openWithoutWaiting(path, O_RDONLY));
    struct stat st {};
    std::string bytes;
    if (!in.ok() || !regularAndBlocking(in.get(), st) || !readAll(in.get(), bytes)) {
        return std::nullopt;
    }
    return bytes;
}

bool copyFile(const std::string& from, const std::string& to) {
    const std::optional<std::string> read = readRegularFile(from);
    if (!read) {
        return false;
    }
    const std::string& bytes = *read;
    Fd out(openWithoutWaiting(to, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600));
    struct stat st {};
    if (!out.ok() || !regularAndBlocking(out.get(), st)) {
        return false;
    }
    ::fchmod(out.get(), 0600);
    if (!writeAll(out.get(), bytes.data(), bytes.size()) || ::fsync(out.get()) != 0 ||
        !out.close()) {
        // A cut copy (a full disk) must not pass for a backup later.
        ::unlink(to.c_str());
        return false;
    }
    syncFolder(folderOf(to));
    return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    syncFolder(folderOf(to));
    return true;
}

bool moveAside(const std::string& from, const std::string& to) {
    // A rename needs no space, so it works on a full disk; a copy is the way across
    // filesystems, and the original goes only once the copy is complete and synced.
    if (replaceFile(from, to)) {
        return true;
    }
    return copyFile(from, to) && removeFile(from);
}

void makePrivate(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.ok()) {
        ::fchmod(fd.get(), 0600);
    }
}

std::vector<std::string> listMatching(const std::string& folder, std::string_view prefix,
                                      std::string_view suffix) {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return paths;
    }
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        if (name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
            name.ends_with(suffix)) {
            paths.push_back(folder + "/" + std::string(name));
        }
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string_view fileName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace bp::dbfile
