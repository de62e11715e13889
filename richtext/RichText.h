#pragma once

// What the rest of the program uses of the rich-text library: loading a stored body into a
// document, writing a document back, the document's plain and search text, and the web
// addresses a note shows as links. The tokenizer, the code pages and the format tables behind
// it are the library's own business.

#include "richtext/QtRichTextEngine.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/WebAddresses.h"

#include <QTextFormat>

namespace bp::rtf {

// RTF measures in twips; Qt block margins are in document pixels at 96 dpi.
constexpr double kTwipsPerPixel = 15.0;

// Qt 6.4 has no list start number; the number the RTF asked for is kept here so it is written
// back.
constexpr int kListStartProperty = QTextFormat::UserProperty + 1;

}  // namespace bp::rtf
