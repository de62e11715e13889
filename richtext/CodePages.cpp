#include "richtext/CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

namespace bp::rtf {

namespace {

// iconv_open's failure value, as iconv defines it.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

std::string iconvName(int codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 20127:
            return "ASCII";
        case 28591:
            return "ISO-8859-1";
        case 1200:
            return "UTF-16LE";
        default:
            return "CP" + std::to_string(codePage);
    }
}

}  // namespace

CodePages::~CodePages() {
    for (auto& [page, handle] : converters_) {
        if (handle != kNoConverter) {
            iconv_close(static_cast<iconv_t>(handle));
        }
    }
}

int CodePages::forCharset(int fcharset) {
    switch (fcharset) {
        case 0:
            return 1252;
        case 2:
            return kSymbol;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return 0;  // the document's code page
    }
}

bool CodePages::isDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

void* CodePages::converter(int codePage) {
    auto found = converters_.find(codePage);
    if (found != converters_.end()) {
        return found->second;
    }
    void* handle = kNoConverter;
    if (codePage > 0 && codePage < 100000) {
        handle = iconv_open("UTF-16LE", iconvName(codePage).c_str());
    }
    converters_.emplace(codePage, handle);
    return handle;
}

bool CodePages::isKnown(int codePage) {
    return codePage == kUtf8 || codePage == kSymbol || converter(codePage) != kNoConverter;
}

QString CodePages::decode(std::string_view bytes, int codePage) {
    QString out;
    if (bytes.empty()) {
        return out;
    }
    if (codePage == kSymbol) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    if (codePage == kUtf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    auto handle = static_cast<iconv_t>(converter(codePage));
    if (handle == kNoConverter) {
        handle = static_cast<iconv_t>(converter(1252));
    }
    if (handle == kNoConverter) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    out.reserve(static_cast<qsizetype>(bytes.size()));
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        const size_t produced = buffer.size() - outLeft;
        out.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.data()),
                                      static_cast<qsizetype>(produced / 2)));
        if (result == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: one undecodable byte, then carry on after it.
            out.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            iconv(handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    // Flush any state a stateful converter (1258) still holds.
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    iconv(handle, nullptr, nullptr, &outPtr, &outLeft);
    const size_t produced = buffer.size() - outLeft;
    out.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.data()),
                                  static_cast<qsizetype>(produced / 2)));
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned minimum = 0;
        unsigned value = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            minimum = 0x80;
            value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            minimum = 0x800;
            value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            minimum = 0x10000;
            value = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(length) > n) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (t & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += static_cast<size_t>(length);
    }
    return true;
}

QString decodePlainBytes(std::string_view bytes, CodePages& codePages) {
    if (isValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return codePages.decode(bytes, 1252);
}

}  // namespace bp::rtf
