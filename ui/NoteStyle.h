#pragma once

#include "store/FontCodec.h"

#include <QColor>
#include <QFont>

#include <cstdint>

namespace bp {

// Colours are stored as 0x00BBGGRR.
QColor colorFromStored(std::uint32_t value);
std::uint32_t storedFromColor(const QColor& color);

// Fonts are stored as the 60-byte record of the platform the database was made on; faces it
// names (Arial, Tahoma, MS Sans Serif, ...) map to metric-compatible fonts here.
QFont fontFromRecord(const LogFont& record);
LogFont recordFromFont(const QFont& font);

// Registers the substitutes for the faces that stored records name. Call once.
void installFontSubstitutes();

}  // namespace bp
