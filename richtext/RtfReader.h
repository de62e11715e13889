#pragma once

#include <string_view>

class QString;
class QTextDocument;

namespace bp::rtf {

// Loads RTF bytes into an empty document. Damaged input loads as far as it can be read: groups
// left open at the end are closed, anything after the outer group is ignored. Text is never cut:
// whatever limit an editor sets on typing, a stored body is read whole.
void readRtf(std::string_view rtf, QTextDocument& document);

// A stored note body: RTF when it starts with "{\rtf" (or "{\urtf"), plain text otherwise.
void loadBody(std::string_view body, QTextDocument& document);

// Plain text (UTF-8 or Windows-1252), one paragraph per line.
void loadPlainText(std::string_view text, QTextDocument& document);

bool looksLikeRtf(std::string_view body);

// The text of a stored body as the note search sees it, read without building a document:
// blocks end in '\r', line breaks inside a block are 0x0B, each picture is U+FFFC. It equals
// the search text of the document loadBody builds.
QString bodySearchText(std::string_view body);

}  // namespace bp::rtf
