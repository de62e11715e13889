#include "NoteRecords.h"

#include "Markup.h"

namespace bp {

using namespace markup;

std::string NoteRecords::read(int source, std::int32_t nid, std::string_view name) {
    const auto lock = data_.lockFor(source);
    NoteSection::Location at;
    std::string_view element;
    LookupFailure failure = data_.sectionOf(source).locate(nid, at, element);
    std::string value;
    if (failure == LookupFailure::None) {
        failure = lookupFailureOf(ReadAttribute(element, name, value));
        if (failure == LookupFailure::None) {
            return value;
        }
    }
    if (source != kImportSource) {
        data_.reportError(failure, "Error while reading notes");
    }
    return {};
}

bool NoteRecords::write(std::int32_t nid, std::string_view name, const std::string& text) {
    std::lock_guard lock(data_.lock);
    NoteSection::Location at;
    std::string_view found;
    LookupFailure failure = data_.notes.locate(nid, at, found);
    if (failure == LookupFailure::None) {
        std::string element(found);
        failure = lookupFailureOf(WriteAttribute(element, name, text));
        if (failure == LookupFailure::None) {
            if (element != found) {
                data_.notes.replaceElement(at, element);
                data_.notifyChange();
            }
            return true;
        }
    }
    data_.reportError(failure, "Not able to set the note attribute");
    return false;
}

int NoteRecords::readInt(int source, std::int32_t nid, std::string_view name) {
    return parseStoredInt(read(source, nid, name));
}

std::uint32_t NoteRecords::readUInt(int source, std::int32_t nid, std::string_view name) {
    return ParseNumber(read(source, nid, name));
}

LogFont NoteRecords::readFont(int source, std::int32_t nid, std::string_view name) {
    return DecodeFont(read(source, nid, name));
}

bool NoteRecords::writeInt(std::int32_t nid, std::string_view name, std::int32_t value) {
    return write(nid, name, std::to_string(value));
}

bool NoteRecords::writeUInt(std::int32_t nid, std::string_view name, std::uint32_t value) {
    return writeInt(nid, name, static_cast<std::int32_t>(value));
}

bool NoteRecords::writeFont(std::int32_t nid, std::string_view name, const LogFont& font) {
    return write(nid, name, EncodeFont(font));
}

namespace {

// The attributes of a note element end where its body begins; searched beyond, a body that
// quotes an attribute would be read as one.
std::string_view attributesOf(std::string_view element) {
    const std::size_t body = element.find(kBodyStart);
    return body == std::string_view::npos ? std::string_view{} : element.substr(0, body);
}

}  // namespace

std::optional<std::string> NoteRecords::readExtra(std::int32_t nid, std::string_view name) {
    std::lock_guard lock(data_.lock);
    NoteSection::Location at;
    std::string_view element;
    std::string value;
    if (data_.notes.locate(nid, at, element) != LookupFailure::None ||
        ReadAttribute(attributesOf(element), name, value) != AttributeFailure::None) {
        return std::nullopt;
    }
    return value;
}

bool NoteRecords::writeExtra(std::int32_t nid, std::string_view name,
                             const std::optional<std::string>& text) {
    std::lock_guard lock(data_.lock);
    NoteSection::Location at;
    std::string_view found;
    if (data_.notes.locate(nid, at, found) != LookupFailure::None) {
        return false;
    }
    std::string element(found);
    std::string_view attributes = attributesOf(element);
    if (const std::size_t old = attributes.find(AttributeNeedle(name));
        old != std::string_view::npos) {
        const std::size_t close = attributes.find(kValueClose, old);
        if (close == std::string_view::npos) {
            return false;
        }
        element.erase(old, close + kValueClose.size() - old);
        attributes = attributesOf(element);
    }
    if (text) {
        // After the last of the attributes every note has.
        const std::size_t last = attributes.find(AttributeNeedle(kNoteAttributes.back().name));
        const std::size_t close =
            last == std::string_view::npos ? last : attributes.find(kValueClose, last);
        if (close == std::string_view::npos) {
            return false;
        }
        std::string value = *text;
        EscapeReservedTokens(value);
        element.insert(close + kValueClose.size(), AttributeText(name, value));
    }
    if (element != found) {
        data_.notes.replaceElement(at, element);
        data_.notifyChange();
    }
    return true;
}

bool NoteRecords::copy(int source, std::int32_t from, std::int32_t to,
                       const NoteAttribute& attribute) {
    const std::string_view name = attribute.name;
    switch (attribute.type) {
        case AttrType::Int:
            return writeInt(to, name, readInt(source, from, name));
        case AttrType::UInt:
            return writeUInt(to, name, readUInt(source, from, name));
        case AttrType::Text:
            return write(to, name, read(source, from, name));
        case AttrType::Font:
            return writeFont(to, name, readFont(source, from, name));
    }
    return false;
}

namespace {

// Where a note's body lies: its element, and in it the body start n and the body end m.
struct BodyLocation {
    NoteSection::Location at;
    std::string_view element;
    long long n = 0;
    long long m = 0;
};

// None when found, else where it stopped: the note, its end, the body start or the body end.
LookupFailure locateBody(const NoteSection& section, std::int32_t nid, BodyLocation& body) {
    if (const LookupFailure failure = section.locate(nid, body.at, body.element);
        failure != LookupFailure::None) {
        return failure;
    }
    body.n = Find(body.element, kBodyStart, 0);
    if (body.n <= 0) {
        return LookupFailure::NoPart;
    }
    body.m = Find(body.element, kBodyEnd, body.n);
    if (body.m <= 0) {
        return LookupFailure::NoPartEnd;
    }
    return LookupFailure::None;
}

}  // namespace

bool NoteRecords::readBody(int source, std::int32_t nid, std::string& out) {
    const auto lock = data_.lockFor(source);
    BodyLocation body;
    if (const LookupFailure failure = locateBody(data_.sectionOf(source), nid, body);
        failure != LookupFailure::None) {
        // The body is the one read of the import buffer that reports its failure.
        data_.reportError(failure, "Error while reading note data");
        return false;
    }
    const long long from = body.n + static_cast<long long>(kBodyStart.size());
    out = Extract(body.element, from, body.m - from);
    return true;
}

bool NoteRecords::writeBody(std::int32_t nid, const std::string& text) {
    std::lock_guard lock(data_.lock);
    BodyLocation body;
    if (const LookupFailure failure = locateBody(data_.notes, nid, body);
        failure != LookupFailure::None) {
        data_.reportError(failure, "Not able to set the note body");
        return false;
    }
    std::string escaped = text;
    EscapeReservedTokens(escaped);
    std::string element;
    element.reserve(body.element.size() + escaped.size() + 4);
    element.append(body.element.substr(0, static_cast<std::size_t>(body.n)));
    element.append(kBodyStart);
    element.append(escaped);
    element.append("\r\n");
    element.append(body.element.substr(static_cast<std::size_t>(body.m)));
    if (element != body.element) {
        data_.notes.replaceElement(body.at, element);
        data_.notifyChange();
    }
    return true;
}

}  // namespace bp
