#pragma once

// The key filter the add dialogs run on every typed character: it accepts or
// discards one 8-bit character code by its class (Armenian letter, capital or
// small Latin letter, digit, anything else), with a table of exception
// characters that are treated the opposite way to their class.
//
// The state is shared, on the user-interface thread only: a caller copies the
// typed code into CurrentKey, writes its own exception table, calls CheckKey
// and takes CurrentKey back as the character to type (0 discards it).

#include <array>
#include <cstdint>
#include <functional>

namespace tavelin::Stugum {

// The code of the character being filtered; 0 after CheckKey discards it.
extern std::int16_t CurrentKey;
// Exception codes in slots 1 to 99 (slot 0 is not used).
extern std::array<std::int16_t, 100> ExceptionChars;
// The number of slots in use, from slot 1; 0 means no exceptions. A count
// above 99 is read as 99.
extern std::int16_t ExceptionCount;

// Filters CurrentKey. The arguments say which classes are accepted, whether
// the exception table is used and whether a discarded character beeps.
void CheckKey(bool armenianLetters, bool capitalLatin, bool smallLatin, bool digits, bool others,
              bool useExceptions, bool beep);

// The system's default beep, as the filter and the error notice sound it.
void Beep();
// Replaces the beep (tests count beeps); an empty function restores it.
void setBeep(std::function<void()> beep);

} // namespace tavelin::Stugum
