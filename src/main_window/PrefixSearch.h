#pragma once

#include "WordListModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavelin {

// Finding words in a list, without regard to case.
//
// A prefix search visits the items in the order 1, 2, ..., last and then
// item 0, and gives the first that begins with the prefix, or -1. An empty
// prefix matches the first item visited. A prefix that could not be typed in
// the list's character set (nothing) matches no item.
//
// With yoIsYe, in a Russian list е and ё (Е and Ё) count as one letter, so
// that "елк" finds "ёлка" and "ещё" finds "еще"; the order of the list and
// of the visit stay as they are.
int findPrefix(const WordListModel& list, const std::optional<std::string>& prefix,
               bool yoIsYe = false);
// The same search, item by item; findPrefix gives the same answer faster when
// the list is in dictionary order.
int findPrefixByScan(const WordListModel& list, std::string_view prefix, bool yoIsYe = false);

// The first item equal to the word, or -1.
int findWord(const WordListModel& list, std::string_view word);

} // namespace tavelin
