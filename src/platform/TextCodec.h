#pragma once

#include "CharacterSet.h"

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

} // namespace tavelin
