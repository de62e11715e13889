#include "OutputRules.h"

#include <cctype>

namespace bp {

namespace {

std::string withExtension(const std::string& path, std::string_view extension) {
    if (path.size() >= extension.size()) {
        const std::string_view tail = std::string_view(path).substr(path.size() - extension.size());
        bool same = true;
        for (std::size_t i = 0; i < tail.size(); ++i) {
            same = same && std::tolower(static_cast<unsigned char>(tail[i])) == extension[i];
        }
        if (same) {
            return path;
        }
    }
    return path + std::string(extension);
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Our own, so that the receiver sees where the text came from.
constexpr std::string_view kSignature[] = {
    "--",
    "Written on a Brightpost sticky note",
};

}  // namespace

std::string withTextExtension(const std::string& path, TextFileType type) {
    switch (type) {
        case TextFileType::Rtf:
            return withExtension(path, ".rtf");
        case TextFileType::Markdown:
            return withExtension(path, ".md");
        default:
            return withExtension(path, ".txt");
    }
}

std::string withPictureExtension(const std::string& path, PictureFileType type) {
    switch (type) {
        case PictureFileType::Jpeg:
            return withExtension(path, ".jpg");
        case PictureFileType::Gif:
            return withExtension(path, ".gif");
        case PictureFileType::Bmp:
            return withExtension(path, ".bmp");
        default:
            return withExtension(path, ".png");
    }
}

std::string proposedFileName(std::string_view shownName) {
    std::string name;
    name.reserve(shownName.size());
    for (const char c : shownName) {
        const auto byte = static_cast<unsigned char>(c);
        const bool refused = byte < 0x20 || byte == 0x7F ||
                             std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name.push_back(refused ? '_' : c);
    }
    // A UTF-8 continuation byte (10xxxxxx) never starts a character, so the cut goes before one
    // that does.
    if (name.size() > kMaxProposedNameBytes) {
        std::size_t cut = kMaxProposedNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    const auto first = name.find_first_not_of(" .");
    if (first == std::string::npos) {
        return "Note";
    }
    const auto last = name.find_last_not_of(" .");
    return name.substr(first, last - first + 1);
}

std::string percentEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string mailtoAddress(std::string_view title, std::string_view plainText, bool signature) {
    std::string body = percentEncode(plainText);
    if (signature) {
        body += "%0A%0A";
        for (std::string_view line : kSignature) {
            body += percentEncode(line) + "%0A";
        }
    }
    return "mailto:?subject=" + percentEncode(title) + "&body=" + body;
}

std::string priorityWord(const std::string& stored) {
    if (stored == "0") {
        return "Low";
    }
    if (stored == "1") {
        return "Regular";
    }
    if (stored == "2") {
        return "High";
    }
    return stored;
}

std::string printHeader(const std::string& title, const std::string& created,
                        const std::string& storedPriority) {
    return "title: " + title + "\ncreated: " + created +
           "\npriority: " + priorityWord(storedPriority);
}

std::string printErrorMessage(PrintResult result) {
    switch (result) {
        case PrintResult::OutOfMemory:
            return "Your computer is out of memory, shut down some applications and/or some "
                   "windows and try again.";
        case PrintResult::OutOfDisk:
            return "The print spooler is out of disk space, free up some disk space and try again.";
        case PrintResult::GeneralError:
            return "There was a general printing error, please check printer is working "
                   "properly, connected, on line etc.";
        default:
            return {};
    }
}

std::vector<PageSlice> paginate(const std::vector<LineBox>& lines, double firstHeight,
                                double pageHeight) {
    auto fill = [&](std::size_t first, double room) {
        const double pageTop = first < lines.size() ? lines[first].top : 0;
        std::size_t end = first;
        while (end < lines.size() && lines[end].top + lines[end].height - pageTop <= room) {
            ++end;
        }
        return PageSlice{first, end};
    };
    // The first page carries the header even when no line fits under it.
    std::vector<PageSlice> pages{fill(0, firstHeight)};
    while (pages.back().end < lines.size()) {
        const PageSlice page = fill(pages.back().end, pageHeight);
        if (page.end == page.first) {
            break;
        }
        pages.push_back(page);
    }
    return pages;
}

}  // namespace bp
