#pragma once

#include <cstddef>
#include <string_view>

namespace tavelin {

// The rule every word keeps that enters a dictionary, by whatever way it
// comes in: typed or pasted into an add dialog, or imported by the
// dictionary tool. It works on the word's 8-bit codes, the same in every
// character set for the codes it looks at.
//
// A word is never empty, never begins with a space, holds at most
// kLongestWord codes and no control character (codes 0-31 and 127: a tab,
// a line feed, an escape or a carriage return would not survive an export
// and an import again, and a list could not show them).
//
// A new source word must also differ, without regard to case, from every
// source word the dictionary holds: the side's case folding (foldCase,
// equalIgnoringCase) tells which words are the same.
inline constexpr std::size_t kLongestWord = 100;

// What is wrong with a word, the first fault in this order.
enum class WordFault { None, Empty, BeginsWithSpace, TooLong, ControlCharacter };

bool isControlCode(unsigned char code);

WordFault wordFault(std::string_view codes);

} // namespace tavelin
