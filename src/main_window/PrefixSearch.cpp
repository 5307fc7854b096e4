#include "PrefixSearch.h"

#include <algorithm>
#include <tuple>
#include <utility>

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

// The weights of е and ё in the Russian set (each shared with its capital).
struct YoWeights {
    unsigned char ye;
    unsigned char yo;
};

const YoWeights& yoWeights() {
    static const YoWeights weights = [] {
        const CharacterSet& set = CharacterSet::of(Side::Russian);
        return YoWeights{set.weight(*set.fromUnicode(U'\u0435')),
                         set.weight(*set.fromUnicode(U'\u0451'))};
    }();
    return weights;
}

bool isYeOrYo(const CharacterSet& set, const YoWeights& yo, char code) {
    const unsigned char weight = set.weight(static_cast<unsigned char>(code));
    return weight == yo.ye || weight == yo.yo;
}

// Whether the search has to take е and ё as one letter: only a Russian
// prefix holding one of them reads differently so.
bool yoMatters(const WordListModel& list, std::string_view prefix, bool yoIsYe) {
    if (!yoIsYe || list.side() != Side::Russian) {
        return false;
    }
    const CharacterSet& set = CharacterSet::of(Side::Russian);
    const YoWeights& yo = yoWeights();
    return std::any_of(prefix.begin(), prefix.end(),
                       [&](char code) { return isYeOrYo(set, yo, code); });
}

// startsWithIgnoringCase with е and ё as one letter.
bool startsWithYoAsYe(std::string_view word, std::string_view prefix) {
    if (word.size() < prefix.size()) {
        return false;
    }
    const CharacterSet& set = CharacterSet::of(Side::Russian);
    const YoWeights& yo = yoWeights();
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (set.weight(static_cast<unsigned char>(word[i])) !=
                set.weight(static_cast<unsigned char>(prefix[i])) &&
            !(isYeOrYo(set, yo, word[i]) && isYeOrYo(set, yo, prefix[i]))) {
            return false;
        }
    }
    return true;
}

bool startsWith(const WordListModel& list, int index, std::string_view prefix, bool yo) {
    return yo ? startsWithYoAsYe(list.word(index), prefix)
              : startsWithIgnoringCase(list.side(), list.word(index), prefix);
}

// The items of [first, last) whose letter at `depth` weighs `weight`, where
// every item of the range has the same weights before `depth` (so a word that
// ends there comes first, and the rest stand by the weight at `depth`).
std::pair<int, int> letterRange(const WordListModel& list, int first, int last, std::size_t depth,
                                unsigned char weight) {
    const CharacterSet& set = CharacterSet::of(list.side());
    // 0 for a word ending before `depth`, else the weight there plus one.
    const auto key = [&](int index) {
        const std::string_view word = list.word(index);
        return word.size() > depth ? set.weight(static_cast<unsigned char>(word[depth])) + 1 : 0;
    };
    // The first position from `low` whose key is not below `wanted`.
    const auto firstNotBelow = [&](int low, int high, int wanted) {
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (key(middle) < wanted) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    };
    const int begin = firstNotBelow(first, last, weight + 1);
    return {begin, firstNotBelow(begin, last, weight + 2)};
}

// The first item of [first, last) (in dictionary order, the weights before
// `depth` matching the prefix's) that begins with the prefix, е and ё taken
// as one letter, or -1. Where the prefix has е or ё, the words with е there
// stand before those with ё, so they are tried first.
int findYoAsYe(const WordListModel& list, int first, int last, std::string_view prefix,
               std::size_t depth) {
    const CharacterSet& set = CharacterSet::of(Side::Russian);
    const YoWeights& yo = yoWeights();
    for (; depth < prefix.size(); ++depth) {
        if (isYeOrYo(set, yo, prefix[depth])) {
            for (const unsigned char weight : {yo.ye, yo.yo}) {
                const auto [begin, end] = letterRange(list, first, last, depth, weight);
                if (begin < end) {
                    const int found = findYoAsYe(list, begin, end, prefix, depth + 1);
                    if (found >= 0) {
                        return found;
                    }
                }
            }
            return -1;
        }
        std::tie(first, last) = letterRange(list, first, last, depth,
                                            set.weight(static_cast<unsigned char>(prefix[depth])));
        if (first == last) {
            return -1;
        }
    }
    return first < last ? first : -1;
}

} // namespace

int findPrefixByScan(const WordListModel& list, std::string_view prefix, bool yoIsYe) {
    const bool yo = yoMatters(list, prefix, yoIsYe);
    const int n = list.count();
    for (int i = 1; i < n; ++i) {
        if (startsWith(list, i, prefix, yo)) {
            return i;
        }
    }
    if (n > 0 && startsWith(list, 0, prefix, yo)) {
        return 0;
    }
    return -1;
}

int findPrefix(const WordListModel& list, const std::optional<std::string>& prefix, bool yoIsYe) {
    if (!prefix) {
        return -1;
    }
    if (!list.inDictionaryOrder()) {
        return findPrefixByScan(list, *prefix, yoIsYe);
    }
    const int n = list.count();
    if (yoMatters(list, *prefix, yoIsYe)) {
        const int found = findYoAsYe(list, 1, n, *prefix, 0);
        if (found >= 0) {
            return found;
        }
        return n > 0 && startsWithYoAsYe(list.word(0), *prefix) ? 0 : -1;
    }
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
