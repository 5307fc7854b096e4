#include "NearWords.h"

#include <algorithm>
#include <limits>

namespace tavelin {
namespace {

constexpr int kEdit = 2;
constexpr int kDoubled = 1;
// How much longer than the typed text the beginnings followed letter by
// letter may grow; a longer word is offered by the first of the words that
// share such a beginning, as far from the typed text as a word can be.
constexpr std::size_t kLongerBy = 24;
constexpr int kFar = std::numeric_limits<int>::max() / 2;

// The search for one typed text. The distance table is filled one word
// letter at a time: row j holds the distances from every beginning of the
// typed text to the word's first j letters.
class Search {
public:
    Search(const WordSequence& list, Side side, std::string_view typed,
           const NearWordsLimits& limits)
        : list_(list), set_(CharacterSet::of(side)), limits_(limits), typed_(typed.size()),
          leaveOut_(typed.size() + 1), width_(typed.size() + 1),
          maxDepth_(typed.size() + kLongerBy) {
        for (std::size_t i = 0; i < typed.size(); ++i) {
            typed_[i] = weightOf(typed[i]);
        }
        for (std::size_t i = 1; i <= typed.size(); ++i) {
            leaveOut_[i] = i >= 2 && typed_[i - 1] == typed_[i - 2] ? kDoubled : kEdit;
        }
        maxCost_ = kEdit * (typed.size() >= limits.longFrom ? limits.longEdits : limits.shortEdits);
        rows_.resize((maxDepth_ + 1) * width_);
        rowMin_.resize(maxDepth_ + 1);
        path_.resize(maxDepth_ + 1);
        int* first = row(0);
        first[0] = 0;
        for (std::size_t i = 1; i < width_; ++i) {
            first[i] = first[i - 1] + leaveOut_[i];
        }
        rowMin_[0] = 0;
    }

    void searchTree() {
        const int n = list_.count();
        if (n > 0) {
            visit(0, n, 0, row(0)[width_ - 1]);
        }
    }

    void searchEachWord() {
        const int n = list_.count();
        for (int index = 0; index < n && takeStep(limits_.maxWordsRead); ++index) {
            measure(index);
        }
    }

    std::vector<NearWord> result() const { return found_; }

private:
    unsigned char weightOf(char code) const {
        return set_.weight(static_cast<unsigned char>(code));
    }
    int* row(std::size_t depth) { return rows_.data() + depth * width_; }

    bool takeStep(std::size_t most) { return ++steps_ <= most; }

    // Fills row `depth` for a word whose letter there weighs `letter`, the
    // letters before it being path_[0 .. depth-2].
    void fillRow(std::size_t depth, unsigned char letter) {
        path_[depth - 1] = letter;
        const int* before = row(depth - 1);
        int* current = row(depth);
        const bool doubled = depth >= 2 && path_[depth - 2] == letter;
        const int putIn = doubled ? kDoubled : kEdit;
        current[0] = before[0] + putIn;
        int least = current[0];
        for (std::size_t i = 1; i < width_; ++i) {
            int cost = std::min(current[i - 1] + leaveOut_[i], before[i] + putIn);
            cost = std::min(cost, before[i - 1] + (typed_[i - 1] == letter ? 0 : kEdit));
            if (i >= 2 && depth >= 2 && typed_[i - 1] == path_[depth - 2] &&
                typed_[i - 2] == letter && typed_[i - 1] != letter) {
                cost = std::min(cost, row(depth - 2)[i - 2] + kEdit);
            }
            current[i] = cost;
            least = std::min(least, cost);
        }
        rowMin_[depth] = least;
    }

    // No row after `depth` holds less than this row's least cost: a later
    // row's cells come from this row's at no saving, or by a swap from the
    // row before it, whose least cost is at most one edit below this row's.
    int deeperBound(std::size_t depth) const { return rowMin_[depth]; }

    // Whether a word this near (at best) can still be offered.
    bool worthFollowing(int toBeginning, int toWord) const {
        if (toBeginning > maxCost_) {
            return false;
        }
        if (found_.size() < limits_.count) {
            return true;
        }
        const NearWord& last = found_.back();
        return toBeginning < last.toBeginning ||
               (toBeginning == last.toBeginning && toWord < last.toWord);
    }

    void offer(int index, int toBeginning, int toWord) {
        if (!worthFollowing(toBeginning, toWord)) {
            return;
        }
        const std::string_view word = list_.word(index);
        const bool seen = std::any_of(found_.begin(), found_.end(), [&](const NearWord& near) {
            return equalIgnoringCase(set_.side(), list_.word(near.index), word);
        });
        if (seen) {
            return; // offered already, by a word found earlier and as near
        }
        const NearWord near{index, toBeginning, toWord};
        const auto at = std::upper_bound(
            found_.begin(), found_.end(), near, [](const NearWord& a, const NearWord& b) {
                return a.toBeginning < b.toBeginning ||
                       (a.toBeginning == b.toBeginning && a.toWord < b.toWord);
            });
        found_.insert(at, near);
        if (found_.size() > limits_.count) {
            found_.pop_back();
        }
    }

    // The first item after `first` (and before `last`) whose letter at
    // `depth` is not `letter`: the items of [first, last) stand in order of
    // that letter, and are searched from `first` in growing steps, since
    // most groups are small.
    int groupEnd(int first, int last, std::size_t depth, unsigned char letter) const {
        const auto same = [&](int index) { return weightOf(list_.word(index)[depth]) == letter; };
        int known = first;
        int step = 1;
        while (last - known > step && same(known + step)) {
            known += step;
            step *= 2;
        }
        int low = known + 1;
        int high = std::min(known + step, last);
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (same(middle)) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }

    // Follows a word letter by letter while it can still be offered, and
    // offers it.
    void measure(int index) {
        const std::string_view word = list_.word(index);
        int nearest = row(0)[width_ - 1];
        std::size_t depth = 0;
        for (; depth < word.size(); ++depth) {
            if (depth == maxDepth_) {
                offer(index, nearest, kFar);
                return;
            }
            fillRow(depth + 1, weightOf(word[depth]));
            nearest = std::min(nearest, row(depth + 1)[width_ - 1]);
            const int bound = deeperBound(depth + 1);
            if (!worthFollowing(std::min(nearest, bound), bound)) {
                return;
            }
        }
        offer(index, nearest, row(depth)[width_ - 1]);
    }

    // The items [first, last) share their first `depth` letters (path_),
    // whose row is filled; `nearest` is the least distance from the typed
    // text to one of those beginnings.
    void visit(int first, int last, std::size_t depth, int nearest) {
        if (!takeStep(limits_.maxGroups)) {
            return;
        }
        int index = first;
        if (list_.word(index).size() == depth) {
            // Words that end here come first; the same without regard to case, offered once.
            offer(index, nearest, row(depth)[width_ - 1]);
            while (index < last && list_.word(index).size() == depth) {
                ++index;
            }
        }
        if (depth == maxDepth_) {
            if (index < last) {
                offer(index, nearest, kFar);
            }
            return;
        }
        while (index < last && steps_ <= limits_.maxGroups) {
            const unsigned char letter = weightOf(list_.word(index)[depth]);
            const int end = groupEnd(index, last, depth, letter);
            fillRow(depth + 1, letter);
            const int bound = deeperBound(depth + 1);
            const int nearer = std::min(nearest, row(depth + 1)[width_ - 1]);
            if (worthFollowing(std::min(nearer, bound), bound)) {
                visit(index, end, depth + 1, nearer);
            }
            index = end;
        }
    }

    const WordSequence& list_;
    const CharacterSet& set_;
    NearWordsLimits limits_;
    std::vector<unsigned char> typed_;
    // The cost of leaving out each typed letter (1-based).
    std::vector<int> leaveOut_;
    std::size_t width_;
    std::size_t maxDepth_;
    int maxCost_ = 0;
    std::vector<int> rows_;
    std::vector<int> rowMin_;
    std::vector<unsigned char> path_;
    std::size_t steps_ = 0;
    std::vector<NearWord> found_;
};

} // namespace

std::vector<NearWord> findNearWords(const WordSequence& list, Side side, std::string_view typed,
                                    bool inDictionaryOrder, const NearWordsLimits& limits) {
    if (typed.empty() || typed.size() > limits.maxTyped || limits.count == 0) {
        return {};
    }
    Search search(list, side, typed, limits);
    if (inDictionaryOrder) {
        search.searchTree();
    } else {
        search.searchEachWord();
    }
    return search.result();
}

} // namespace tavelin
