#pragma once

namespace tavelin {

// The window font "MS Sans Serif", the Armenian display font "Tavelin" and
// "Times New Roman" are names the settings keep; each is drawn with an
// installed font that has Latin, Cyrillic and (for "Tavelin") Armenian letters.
void installFontSubstitutes();

} // namespace tavelin
