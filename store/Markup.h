#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The database mark-up: marker strings and the search-and-splice primitives every store
// operation is built on. Positions are byte offsets; "not found" is -1.
namespace bp::markup {

inline constexpr std::string_view kRootStart = "<Brightpost>\r\n";
inline constexpr std::string_view kImportRootStart = "<sticky-notes>\r\n";
inline constexpr std::string_view kEndLine = "[]]]]]>>>>>";
inline constexpr std::string_view kRootEnd = "\r\n[]]]]]>>>>>\r\n</Brightpost>";
inline constexpr std::string_view kSettingsStart = "\r\n<settings ";
inline constexpr std::string_view kSettingsEnd = "\r\n[]]]]]>>>>>\r\n</settings>";
inline constexpr std::string_view kNotesStart = "\r\n<notes>\r\n";
inline constexpr std::string_view kNotesEnd = "\r\n[]]]]]>>>>>\r\n</notes>";
inline constexpr std::string_view kNoteStart = "\r\n<note ";
inline constexpr std::string_view kNoteEnd = "\r\n[]]]]]>>>>>\r\n</note>";  // 22 bytes
inline constexpr std::string_view kFileStart = "\r\n<file ";
inline constexpr std::string_view kFileEnd = "\r\n[]]]]]>>>>>\r\n</file>";  // 22 bytes
inline constexpr std::string_view kBodyStart = "<![CDATABEGIN[\r\n";        // 16 bytes
inline constexpr std::string_view kBodyEnd = "]CDATAEND]!>";
inline constexpr std::string_view kValueOpen = "|<|<|<|<|<";
inline constexpr std::string_view kValueClose = ">|>|>|>|>|";

// The five strings that delimit the mark-up, in the order they are escaped.
inline constexpr std::string_view kReservedTokens[5] = {"|<|<|<|<|<", ">|>|>|>|>|", "[]]]]]>>>>>",
                                                        "<![CDATABEGIN[", "]CDATAEND]!>"};

// First occurrence of needle at or after from; -1 when none or when from is out of range.
long long Find(std::string_view section, std::string_view needle, long long from);
std::string Extract(std::string_view section, long long position, long long count);
// Deletes count bytes from position, clamped to the end of the string.
void Remove(std::string& section, long long position, long long count);
void InsertAt(std::string& section, long long position, std::string_view text);

// Escapes the reserved tokens in place by a blank after each token's first character.
// A value ending in ">|" gets a blank after that '>' too, so it cannot merge with the
// terminator and read back shortened. Zero bytes are dropped: the file cannot hold them.
void EscapeReservedTokens(std::string& value);

// " name=|<|<|<|<|<", the needle of an attribute.
std::string AttributeNeedle(std::string_view name);
// " name=|<|<|<|<|<value>|>|>|>|>|", an attribute exactly as written.
std::string AttributeText(std::string_view name, std::string_view value);

enum class AttributeFailure { None, Missing, NoTerminator };

// The value of attribute name in an element text (or in the settings section).
AttributeFailure ReadAttribute(std::string_view element, std::string_view name, std::string& value);
// Replaces the value of an existing attribute (value is escaped here).
AttributeFailure WriteAttribute(std::string& element, std::string_view name, std::string value);

// A stored number: leading blanks, a sign, then decimal digits up to the first other
// character. Anything from -2147483648 to 4294967295 is taken modulo 2^32, so values written
// signed ("%d", as times always were) and unsigned read alike; anything else, an empty value
// or one without digits reads as 0.
std::uint32_t ParseNumber(std::string_view text);

}  // namespace bp::markup
