#pragma once

#include <QString>

#include <map>
#include <string_view>

namespace bp::rtf {

// Windows code page numbers as RTF uses them, decoded through iconv.
class CodePages {
public:
    CodePages() = default;
    ~CodePages();
    CodePages(const CodePages&) = delete;
    CodePages& operator=(const CodePages&) = delete;

    // Code page 65001 is UTF-8; Symbol-font bytes (kSymbol) are passed through as their byte value.
    static constexpr int kUtf8 = 65001;
    static constexpr int kSymbol = -2;

    static int forCharset(int fcharset);
    static bool isDoubleByte(int codePage);

    bool isKnown(int codePage);
    // Invalid or truncated sequences come out as U+FFFD, one per undecodable byte.
    QString decode(std::string_view bytes, int codePage);

private:
    void* converter(int codePage);
    std::map<int, void*> converters_;
};

// Text bodies that are not RTF: UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise.
QString decodePlainBytes(std::string_view bytes, CodePages& codePages);

bool isValidUtf8(std::string_view bytes);

}  // namespace bp::rtf
