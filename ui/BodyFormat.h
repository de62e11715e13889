#pragma once

#include "store/FontCodec.h"

#include <QColor>
#include <QTextCharFormat>

class QTextCursor;

namespace bp {

// Character sizes travel between the stored font records (pixels at the screen's
// resolution) and the body's formats (twips, twentieths of a point).

// Twips of a record height: |height x 1440 / dpi|, in whole twips.
int twipsFromRecordHeight(int height, int dpi);

// The font record of a character format: the size rounded to whole points (a fraction above
// one half rounds up, one half and below round down), then to pixels at dpi.
LogFont charFormatToLogFont(const QTextCharFormat& format, const QFont& documentFont, int dpi);

// The character format a font record asks for: face, size in points, weight, italic,
// underline and strike-out. A record without a height or a face leaves those as they are.
QTextCharFormat fontFormatFromLogFont(const LogFont& font, int dpi);

// The text colour as given, never the automatic colour.
QTextCharFormat colorFormat(const QColor& color);

// The size of a character format in points, falling back to the document's font.
double pointSizeOf(const QTextCharFormat& format, const QFont& documentFont, int dpi);

// Merges format over every character of the cursor's selection, as one undo step. Sizes in
// pixels that the format replaces by points are dropped, so the new size wins.
void mergeOverSelection(QTextCursor& cursor, const QTextCharFormat& format);

// Merges format into the insertion format of an empty selection; links do not carry on into
// what is typed next.
QTextCharFormat insertionFormat(const QTextCharFormat& current, const QTextCharFormat& format);

bool isBold(const QTextCharFormat& format);

}  // namespace bp
