#pragma once

#include <string>

class QTextDocument;

namespace bp::rtf {

// The document in the dialect of the Windows rich-edit control: a font and a colour table,
// \pard-led paragraph formats, lists in the \pn form, links as HYPERLINK fields, and every
// character outside Windows-1252 as \uN?.
std::string writeRtf(const QTextDocument& document);

}  // namespace bp::rtf
