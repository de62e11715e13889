#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace bp {

// Text in the database is bytes. What this program writes is UTF-8; a database made on
// Windows holds its own code page, shown as Windows-1252 (and left as it is until the user
// changes the text).
QString textFromStored(std::string_view stored);
std::string storedFromText(const QString& text);

}  // namespace bp
