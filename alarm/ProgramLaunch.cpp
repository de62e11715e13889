#include "alarm/ProgramLaunch.h"

#include "platform/Shell.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace bp {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// A regular file (or a link to one) that this user may execute; folders are opened instead.
bool isExecutableFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> findInSearchPath(const std::string& name,
                                            const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        // An empty entry would mean the current folder, which is never searched here.
        if (end > start) {
            const std::string candidate = searchPath.substr(start, end - start) + "/" + name;
            if (isExecutableFile(candidate)) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> SplitCommandLine(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isBlank(c)) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            word.append(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char d = text[i];
                if (d == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (d == '\\' && i + 1 < text.size() &&
                    std::string_view("\"\\$`").find(text[i + 1]) != std::string_view::npos) {
                    word += text[i + 1];
                    i += 2;
                    continue;
                }
                word += d;
                ++i;
            }
            if (!closed) {
                return std::nullopt;
            }
        } else if (c == '\\') {
            if (i + 1 >= text.size()) {
                return std::nullopt;
            }
            word += text[i + 1];
            i += 2;
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::string QuotedForCommandLine(const std::string& path) {
    const std::string_view plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
        "0123456789_./+-,:@%=~";
    if (!path.empty() && path.find_first_not_of(plain) == std::string::npos) {
        return path;
    }
    std::string quoted = "'";
    for (char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ProgramLaunch ChooseProgramLaunch(const std::string& text, const std::string& searchPath) {
    const std::string whole = trimmed(text);
    if (whole.empty()) {
        return {};
    }
    ProgramLaunch document{ProgramLaunch::Kind::Document, {}, whole};
    std::error_code error;
    if (std::filesystem::exists(whole, error)) {
        if (isExecutableFile(whole)) {
            return {ProgramLaunch::Kind::Run, {whole}, {}};
        }
        return document;
    }
    const auto words = SplitCommandLine(whole);
    if (!words || words->empty()) {
        return document;
    }
    std::vector<std::string> command = *words;
    const std::string& program = command.front();
    if (program.find('/') != std::string::npos) {
        if (isExecutableFile(program)) {
            return {ProgramLaunch::Kind::Run, command, {}};
        }
        if (command.size() == 1 && std::filesystem::exists(program, error)) {
            // A quoted document: the opener gets it without the quotes.
            return {ProgramLaunch::Kind::Document, {}, program};
        }
        return document;
    }
    if (const auto found = findInSearchPath(program, searchPath)) {
        command.front() = *found;
        return {ProgramLaunch::Kind::Run, command, {}};
    }
    return document;
}

bool LaunchProgram(IShell& shell, const std::string& text) {
    const char* path = std::getenv("PATH");
    const ProgramLaunch launch = ChooseProgramLaunch(text, path != nullptr ? path : "");
    switch (launch.kind) {
        case ProgramLaunch::Kind::Run:
            return shell.startProgram(launch.command);
        case ProgramLaunch::Kind::Document:
            return shell.open(launch.target);
        case ProgramLaunch::Kind::Nothing:
            break;
    }
    return false;
}

}  // namespace bp
