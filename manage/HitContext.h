#pragma once

#include <QString>
#include <QStringView>

namespace bp {

// The words around the first hit of needle in a note's text, on one line, for Find's list:
// a few characters before and after, "…" where the text goes on. Empty when there is no hit.
// The hit follows the note search's own rules (case, whole word), so it is the one that made
// the note a result.
QString hitContext(QStringView text, QStringView needle, bool matchCase, bool wholeWord);

}  // namespace bp
