#pragma once

// The text forms of the values kept in Options.ini.

#include <QString>

#include <cstdint>
#include <optional>

namespace tavelin {

// Booleans: only the exact text "True" is true ("true", "1" and the empty
// text are not). Written as "True" or "False".
bool iniBool(const QString& text);
QString iniBoolText(bool value);

// Colours: a 32-bit value as signed decimal text (0x80000012 is written
// -2147483630). Nothing when the text is empty or not a whole number in the
// signed 32-bit range; blanks around it are allowed.
std::optional<std::int32_t> iniColour(const QString& text);
QString iniColourText(std::int32_t colour);

// Sizes and geometry: single-precision numbers. Reading takes "." or "," as
// the decimal separator, so a file written under one locale reads under any
// other; nothing when the text is empty, not a number, or not finite.
std::optional<float> iniSingle(const QString& text);
// Written with the current locale's decimal separator and no grouping, whole
// numbers without a fraction: 270, 9.75 (9,75 under a German locale).
QString iniSingleText(float value);

} // namespace tavelin
