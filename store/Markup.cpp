#include "Markup.h"

namespace bp::markup {

long long Find(std::string_view section, std::string_view needle, long long from) {
    if (from < 0 || from > static_cast<long long>(section.size())) {
        return -1;
    }
    const auto at = section.find(needle, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<long long>(at);
}

std::string Extract(std::string_view section, long long position, long long count) {
    if (position < 0 || count <= 0 || position >= static_cast<long long>(section.size())) {
        return {};
    }
    return std::string(
        section.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(count)));
}

void Remove(std::string& section, long long position, long long count) {
    if (position < 0 || count <= 0 || position >= static_cast<long long>(section.size())) {
        return;
    }
    section.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
}

void InsertAt(std::string& section, long long position, std::string_view text) {
    if (position < 0) {
        position = 0;
    }
    if (position > static_cast<long long>(section.size())) {
        position = static_cast<long long>(section.size());
    }
    section.insert(static_cast<std::size_t>(position), text);
}

namespace {

// Replaces every non-overlapping occurrence, left to right, until none is left.
void ReplaceAllRepeatedly(std::string& value, std::string_view token, std::string_view with) {
    bool found = true;
    while (found) {
        found = false;
        std::string out;
        std::size_t from = 0;
        for (std::size_t at = value.find(token); at != std::string::npos;
             at = value.find(token, from)) {
            out.append(value, from, at - from);
            out.append(with);
            from = at + token.size();
            found = true;
        }
        if (found) {
            out.append(value, from, std::string::npos);
            value.swap(out);
        }
    }
}

}  // namespace

void EscapeReservedTokens(std::string& value) {
    // The reader ends the text at its first zero byte, so one inside a value would cut off
    // the rest of the database at the next open.
    std::erase(value, '\0');
    for (int pass = 0; pass < 2; ++pass) {
        for (std::string_view token : kReservedTokens) {
            std::string with;
            with.reserve(token.size() + 1);
            with.push_back(token.front());
            with.push_back(' ');
            with.append(token.substr(1));
            ReplaceAllRepeatedly(value, token, with);
        }
    }
    // A value ending in ">|" would merge with the terminator and read back cut short.
    if (value.size() >= 2 && value.compare(value.size() - 2, 2, ">|") == 0) {
        value.insert(value.size() - 1, 1, ' ');
    }
}

std::string AttributeNeedle(std::string_view name) {
    std::string needle;
    needle.reserve(name.size() + 12);
    needle.push_back(' ');
    needle.append(name);
    needle.push_back('=');
    needle.append(kValueOpen);
    return needle;
}

std::string AttributeText(std::string_view name, std::string_view value) {
    std::string text = AttributeNeedle(name);
    text.append(value);
    text.append(kValueClose);
    return text;
}

AttributeFailure ReadAttribute(std::string_view element, std::string_view name,
                               std::string& value) {
    const long long a = Find(element, AttributeNeedle(name), 0);
    if (a <= 0) {
        return AttributeFailure::Missing;
    }
    const long long v = a + static_cast<long long>(name.size()) + 12;
    const long long t = Find(element, kValueClose, a);
    if (t < v) {
        return AttributeFailure::NoTerminator;
    }
    value = Extract(element, v, t - v);
    return AttributeFailure::None;
}

AttributeFailure WriteAttribute(std::string& element, std::string_view name, std::string value) {
    const long long a = Find(element, AttributeNeedle(name), 0);
    if (a <= 0) {
        return AttributeFailure::Missing;
    }
    const long long v = a + static_cast<long long>(name.size()) + 12;
    const long long t = Find(element, kValueClose, a);
    if (t < v) {
        return AttributeFailure::NoTerminator;
    }
    EscapeReservedTokens(value);
    Remove(element, a, t - a);
    std::string replacement = AttributeNeedle(name);
    replacement.append(value);
    InsertAt(element, a, replacement);
    return AttributeFailure::None;
}

std::uint32_t ParseNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const long long limit = negative ? 2147483648LL : 4294967295LL;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            return 0;
        }
    }
    return static_cast<std::uint32_t>(negative ? -value : value);
}

}  // namespace bp::markup
