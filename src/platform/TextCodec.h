#pragma once

#include "text/CharacterSet.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace tavelin {

// Where dictionary codes meet a person: what the screen and the clipboard
// show, and what the keyboard types.
QString toDisplay(Side side, std::string_view codes);
// Nothing when the text holds a character the side's set has no code for.
std::optional<std::string> fromDisplay(Side side, const QString& text);

// How a stored word is shown in the lists, the display boxes and the
// questions about it: its first kShownCodes codes at most, an ellipsis after
// them when the word is longer (only a file made elsewhere holds such a
// word), and each control code as its picture: U+2400-U+241F for codes 0-31
// (a tab shows as ␉, a line feed as ␊, an escape as ␛), U+2421 for
// code 127. A word of any length is shown at the cost of a short one; the
// codes themselves are never changed.
inline constexpr std::size_t kShownCodes = 256;
QString toShown(Side side, std::string_view codes);

} // namespace tavelin
