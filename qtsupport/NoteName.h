#pragma once

#include <QString>

#include <cstdint>

namespace bp {

// How a note is named wherever a person reads or hears it (the lists, the window list, a
// screen reader): its title as shown, or "Note" and its number when the title has nothing a
// person could read (blank, or only bytes no code page gives a letter to). The stored title
// stays as it is.
QString readableNoteName(const QString& title, std::int32_t nid);

}  // namespace bp
