#include "richtext/RtfTokenizer.h"

#include <algorithm>

namespace bp::rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Longer names occur only in damaged files; they are still consumed whole.
constexpr std::size_t kMaxWordLength = 32;

}  // namespace

RtfToken RtfTokenizer::next() {
    RtfToken token;
    while (pos_ < data_.size()) {
        const char c = data_[pos_];
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        ++pos_;
        switch (c) {
            case '{':
                token.kind = RtfToken::Kind::GroupOpen;
                return token;
            case '}':
                token.kind = RtfToken::Kind::GroupClose;
                return token;
            case '\\':
                return readControl();
            default:
                token.kind = RtfToken::Kind::Text;
                token.byte = static_cast<unsigned char>(c);
                return token;
        }
    }
    return token;
}

RtfToken RtfTokenizer::readControl() {
    RtfToken token;
    if (pos_ >= data_.size()) {
        return token;
    }
    const char c = data_[pos_];
    if (!isLetter(c)) {
        ++pos_;
        if (c == '\r' || c == '\n') {
            token.kind = RtfToken::Kind::ControlWord;
            token.word = "par";
            return token;
        }
        if (c == '\'') {
            const int high = pos_ < data_.size() ? hexValue(data_[pos_]) : -1;
            const int low = pos_ + 1 < data_.size() ? hexValue(data_[pos_ + 1]) : -1;
            if (high < 0 || low < 0) {
                // A broken escape: drop it and let what follows be read normally.
                token.kind = RtfToken::Kind::ControlSymbol;
                token.word = "'";
                return token;
            }
            pos_ += 2;
            token.kind = RtfToken::Kind::HexByte;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
        token.kind = RtfToken::Kind::ControlSymbol;
        token.word = std::string(1, c);
        return token;
    }
    token.kind = RtfToken::Kind::ControlWord;
    const std::size_t start = pos_;
    while (pos_ < data_.size() && isLetter(data_[pos_])) {
        ++pos_;
    }
    token.word = std::string(data_.substr(start, std::min(pos_ - start, kMaxWordLength)));
    bool negative = false;
    if (pos_ < data_.size() && data_[pos_] == '-' && pos_ + 1 < data_.size() &&
        isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < data_.size() && isDigit(data_[pos_])) {
        token.hasParam = true;
        std::int64_t value = 0;
        while (pos_ < data_.size() && isDigit(data_[pos_])) {
            value = std::min<std::int64_t>(value * 10 + (data_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        token.param = static_cast<std::int32_t>(negative ? -value : value);
    }
    if (pos_ < data_.size() && data_[pos_] == ' ') {
        ++pos_;
    }
    return token;
}

std::string_view RtfTokenizer::takeBinary(std::int64_t count) {
    if (count <= 0 || pos_ >= data_.size()) {
        return {};
    }
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(data_.size() - pos_)));
    std::string_view bytes = data_.substr(pos_, n);
    pos_ += n;
    return bytes;
}

}  // namespace bp::rtf
