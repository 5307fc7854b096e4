#pragma once

namespace tavelin {

// Armenian typed on a Latin keyboard. The standard phonetic Armenian layout
// (the "phonetic" variant of the X keyboard layout "am") puts each Armenian
// letter on the key of a Latin letter that sounds like it, and the rest on
// the digits and the brackets.
//
// Gives the Armenian letter of the key that types `typed` on a US keyboard
// (Shift included: "b" gives բ, "B" gives Բ, "1" gives է), or `typed` itself
// when that key gives no Armenian letter there, when `typed` is one of the
// marks an Armenian word may hold (, . ' ( ) -), or when it is no character
// of a US keyboard (Armenian text passes unchanged).
char32_t phoneticArmenian(char32_t typed);

} // namespace tavelin
