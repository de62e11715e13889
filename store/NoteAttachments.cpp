#include "NoteAttachments.h"

#include "Markup.h"

#include <algorithm>

#include <cctype>

namespace bp {

using namespace markup;

namespace {

constexpr std::string_view kFileOpener = "<file fid=|<|<|<|<|<";  // 20 bytes

std::string fileNeedle(std::int32_t fid) {
    return std::string(kFileOpener) + std::to_string(fid) + std::string(kValueClose);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::int32_t NoteAttachments::attach(std::int32_t nid, int type, const std::string& name) {
    std::lock_guard lock(data_.lock);
    if (const std::optional<IdList> fids = list(kLiveSource, nid, 5)) {
        for (std::int32_t fid : *fids) {
            std::string existing;
            filename(kLiveSource, nid, fid, existing);
            if (equalsIgnoringCase(existing, name) && filetype(kLiveSource, nid, fid) == type) {
                return -1;
            }
        }
    }
    NoteSection::Location at;
    std::string_view element;
    if (!data_.locateToChange(nid, at, element, "AttachFileToNote")) {
        return -1;
    }
    static const std::string kFidNeedle = AttributeNeedle("fid");
    std::uint32_t largest = 0;
    long long from = 2;
    for (;;) {
        const long long f = Find(element, kFileStart, from);
        if (f == -1) {
            break;
        }
        const long long end = Find(element, kFileEnd, f);
        if (end == -1) {
            break;
        }
        const long long a = Find(element, kFidNeedle, f);
        const long long t = a == -1 ? -1 : Find(element, kValueClose, a);
        if (a == -1 || a >= end || t < a + 15) {
            data_.reportError(
                "Error",
                "AttachFileToNote\nError while reading /Brightpost/notes/note/file/@fid "
                "value");
            return -1;
        }
        largest = std::max(largest, ParseNumber(Extract(element, a + 15, t - a - 15)));
        from = t;
    }
    const auto fid = static_cast<std::int32_t>(largest + 1);
    std::string escaped = name;
    EscapeReservedTokens(escaped);
    std::string updated(element);
    updated += "\r\n<file";
    updated += AttributeText("fid", std::to_string(fid));
    updated += AttributeText("type", std::to_string(type));
    updated += AttributeText("name", escaped);
    updated += ">";
    updated += kFileEnd;
    data_.notes.replaceElement(at, updated);
    data_.notifyChange();
    return fid;
}

bool NoteAttachments::detach(std::int32_t nid, std::int32_t fid) {
    std::lock_guard lock(data_.lock);
    NoteSection::Location at;
    std::string_view element;
    if (!data_.locateToChange(nid, at, element, "DetachFileFromNote")) {
        return false;
    }
    const long long p = Find(element, fileNeedle(fid), 0);
    if (p <= 0) {
        data_.reportError(
            "Error", "DetachFileFromNote\nError while reading /Brightpost/notes/note/file/@fid");
        return false;
    }
    const long long q = Find(element, kFileEnd, p);
    if (q < p) {
        data_.reportError(
            "Error",
            "DetachFileFromNote\nError while reading /Brightpost/notes/note/file/@fid end");
        return false;
    }
    std::string updated(element);
    Remove(updated, p, q - p + static_cast<long long>(kFileEnd.size()));
    data_.notes.replaceElement(at, updated);
    data_.notifyChange();
    return true;
}

std::optional<IdList> NoteAttachments::list(int source, std::int32_t nid, int filter) {
    const bool live = source != kImportSource;
    const auto lock = data_.lockFor(source);
    NoteSection::Location at;
    std::string_view element;
    const LookupFailure failure = data_.sectionOf(source).locate(nid, at, element);
    if (failure != LookupFailure::None) {
        if (live) {
            data_.reportError(failure, "GetNoteAttachedFiles");
        }
        return std::nullopt;
    }
    auto hasType = [](std::string_view file, int type) {
        return file.find(AttributeText("type", std::to_string(type))) != std::string_view::npos;
    };
    IdList fids;
    long long from = 2;
    for (;;) {
        const long long p = Find(element, kFileOpener, from);
        if (p == -1) {
            break;
        }
        const long long q = Find(element, kFileEnd, p);
        if (q == -1) {
            break;
        }
        const std::string_view file =
            element.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(q - p));
        bool passes = false;
        switch (filter) {
            case 5:
                passes = true;
                break;
            case 4:
                passes = hasType(file, 0) || hasType(file, 3);
                break;
            case 99:
                passes = hasType(file, 1) || hasType(file, 6);
                break;
            default:
                passes = hasType(file, filter);
                break;
        }
        const long long t = Find(file, kValueClose, 0);
        if (passes && t >= static_cast<long long>(kFileOpener.size())) {
            fids.push_back(parseStoredInt(Extract(file, 20, t - 20)));
        }
        from = q;
    }
    if (fids.empty()) {
        return std::nullopt;
    }
    return fids;
}

bool NoteAttachments::read(int source, std::int32_t nid, std::int32_t fid, std::string_view attr,
                           const char* operation, std::string& value) {
    const bool live = source != kImportSource;
    const auto lock = data_.lockFor(source);
    NoteSection::Location at;
    std::string_view element;
    LookupFailure failure = data_.sectionOf(source).locate(nid, at, element);
    long long p = -1;
    long long q = -1;
    if (failure == LookupFailure::None) {
        p = Find(element, fileNeedle(fid), 0);
        if (p <= 0) {
            failure = LookupFailure::NoPart;
        } else {
            q = Find(element, kFileEnd, p);
            if (q < p) {
                failure = LookupFailure::NoPartEnd;
            }
        }
    }
    if (failure != LookupFailure::None) {
        if (live) {
            data_.reportError(failure, operation);
        }
        return false;
    }
    const std::string_view file =
        element.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(q - p));
    const std::string needle = AttributeNeedle(attr);
    const long long a = Find(file, needle, 0);
    if (a == -1) {
        return false;
    }
    const long long t = Find(file, kValueClose, a);
    const long long v = a + static_cast<long long>(needle.size());
    // An empty value counts as missing.
    if (t <= v) {
        return false;
    }
    value = Extract(file, v, t - v);
    return true;
}

bool NoteAttachments::filename(int source, std::int32_t nid, std::int32_t fid, std::string& out) {
    return read(source, nid, fid, "name", "GetNoteAttachedFilename", out);
}

int NoteAttachments::filetype(int source, std::int32_t nid, std::int32_t fid) {
    std::string value;
    if (!read(source, nid, fid, "type", "GetNoteAttachedFiletype", value)) {
        return -1;
    }
    return parseStoredInt(value);
}

}  // namespace bp
