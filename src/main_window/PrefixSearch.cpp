#include "PrefixSearch.h"

namespace tavelin {
namespace {

// First position in [first, last) whose item does not stand before the words
// beginning with the prefix (the list being in dictionary order).
int lowerBound(const WordListModel& list, int first, int last, std::string_view prefix) {
    while (first < last) {
        const int middle = first + (last - first) / 2;
        if (comparePrefix(list.side(), list.word(middle), prefix) < 0) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return first;
}

} // namespace

int findPrefixByScan(const WordListModel& list, std::string_view prefix) {
    const int n = list.count();
    for (int i = 1; i < n; ++i) {
        if (startsWithIgnoringCase(list.side(), list.word(i), prefix)) {
            return i;
        }
    }
    if (n > 0 && startsWithIgnoringCase(list.side(), list.word(0), prefix)) {
        return 0;
    }
    return -1;
}

int findPrefix(const WordListModel& list, const std::optional<std::string>& prefix) {
    if (!prefix) {
        return -1;
    }
    if (!list.inDictionaryOrder()) {
        return findPrefixByScan(list, *prefix);
    }
    const int n = list.count();
    const int found = lowerBound(list, 1, n, *prefix);
    if (found < n && startsWithIgnoringCase(list.side(), list.word(found), *prefix)) {
        return found;
    }
    if (n > 0 && startsWithIgnoringCase(list.side(), list.word(0), *prefix)) {
        return 0;
    }
    return -1;
}

int findWord(const WordListModel& list, std::string_view word) {
    const int n = list.count();
    if (list.inDictionaryOrder()) {
        // Words equal without regard to case weigh the same and stand together.
        const int found = lowerBound(list, 0, n, word);
        for (int i = found; i < n && startsWithIgnoringCase(list.side(), list.word(i), word); ++i) {
            if (equalIgnoringCase(list.side(), list.word(i), word)) {
                return i;
            }
        }
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        if (equalIgnoringCase(list.side(), list.word(i), word)) {
            return i;
        }
    }
    return -1;
}

} // namespace tavelin
