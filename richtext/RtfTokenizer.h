#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bp::rtf {

struct RtfToken {
    enum class Kind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text };
    Kind kind = Kind::End;
    std::string word;  // ControlWord: the letters; ControlSymbol: the one character
    bool hasParam = false;
    std::int32_t param = 0;
    unsigned char byte = 0;  // HexByte and Text: one byte of text
};

// Splits RTF bytes into tokens. Never reads past the end; raw CR and LF are not text, and a
// backslash before CR or LF is a paragraph mark.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view data) : data_(data) {}

    RtfToken next();
    // The raw bytes of \binN; fewer when the data ends first.
    std::string_view takeBinary(std::int64_t count);
    bool atEnd() const { return pos_ >= data_.size(); }
    std::size_t position() const { return pos_; }

private:
    RtfToken readControl();

    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace bp::rtf
