#pragma once

// Colours as Options.ini keeps them: 32-bit values laid out 0x00BBGGRR (red
// in the low byte), or 0x80000000 plus a Windows system colour index for a
// colour of the desktop's scheme (0x80000012 is the button-text colour). The
// system colours are taken from the application's palette.

#include <QColor>

#include <cstdint>

namespace tavelin {

constexpr std::int32_t kOleWhite = 0x00FFFFFF;
constexpr std::int32_t kOleBlack = 0;
constexpr std::int32_t kOleButtonText = static_cast<std::int32_t>(0x80000012u);

// Whether a value names a colour: an RGB value, or a system colour whose
// index the palette has a role for.
bool isOleColour(std::int32_t value);
// The colour a value shows; black for a value that names none.
QColor fromOleColour(std::int32_t value);
// The RGB value of a colour (alpha dropped).
std::int32_t toOleColour(const QColor& colour);

} // namespace tavelin
