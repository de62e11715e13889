#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bp {

// File types of the note's save dialogs, numbered from 1 in the order the dialog lists them.
enum class TextFileType { Text = 1, Rtf = 2, Markdown = 3 };
enum class PictureFileType { Png = 1, Jpeg = 2, Gif = 3, Bmp = 4 };

// The extension of the chosen type, unless the path already ends in it (in any letter case):
// "x.rtf" saved as text becomes "x.rtf.txt".
std::string withTextExtension(const std::string& path, TextFileType type);
std::string withPictureExtension(const std::string& path, PictureFileType type);

// The file name a save dialog proposes for a note, from the name it is shown by (UTF-8):
// characters no file name may hold, or that other systems refuse (/ \ : * ? " < > | and control
// characters), become "_"; blanks and dots at either end go, so the file is neither hidden nor
// misread; at most kMaxProposedNameBytes bytes, cut between characters. The extension is left
// to the type chosen. "Note" when nothing is left.
inline constexpr std::size_t kMaxProposedNameBytes = 120;
std::string proposedFileName(std::string_view shownName);

// Letters, digits and "-._~" stay; every other byte becomes "%" and two upper-case hex digits.
std::string percentEncode(std::string_view bytes);

// The address of a new mail with the title as subject and the text as body, signed unless
// the user turned the signature off. There is no recipient: "mailto:?subject=" is what every
// mail program takes.
std::string mailtoAddress(std::string_view title, std::string_view plainText,
                          bool signature = true);

// "Low", "Regular" or "High" for a stored "0", "1" or "2"; anything else as it is.
std::string priorityWord(const std::string& stored);

// The lines printed above a note's text.
std::string printHeader(const std::string& title, const std::string& created,
                        const std::string& storedPriority);

// How a print job ended; the errors carry the codes a printer driver reports.
enum class PrintResult { Done = 0, GeneralError = -1, OutOfDisk = -4, OutOfMemory = -5 };
// The message for a failed job; empty for a good one.
std::string printErrorMessage(PrintResult result);

// The lines of a laid-out text, top to bottom, in device pixels from the text's top.
struct LineBox {
    double top = 0;
    double height = 0;
};

// The lines [first, end) printed on one page.
struct PageSlice {
    std::size_t first = 0;
    std::size_t end = 0;
    bool operator==(const PageSlice&) const = default;
};

// Splits the lines into pages: the first page has firstHeight for text, the others
// pageHeight. A page takes every whole line that fits. The first page is always there, for
// the header. A later page that can take no line ends the job, so a line taller than a page
// cannot make it print blank pages for ever.
std::vector<PageSlice> paginate(const std::vector<LineBox>& lines, double firstHeight,
                                double pageHeight);

}  // namespace bp
