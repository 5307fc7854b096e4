#pragma once

#include "CharacterSet.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tavelin {

// The words of one side, read by position.
class WordSequence {
public:
    virtual ~WordSequence() = default;
    virtual int count() const = 0;
    virtual std::string_view word(int index) const = 0;
};

// A word offered for text that begins no word of a list, and how far it is.
//
// Distances are edit distances without regard to case, in half edits: a
// letter put in, left out or put in place of another, or two neighbouring
// letters swapped, costs 2; a letter put in or left out beside the same
// letter (a doubled or undoubled letter, "helo" for "hello") costs 1.
struct NearWord {
    int index = -1;
    // From the typed text to the nearest beginning of the word ("mountian"
    // is 2 from "mountai" in "mountaineer").
    int toBeginning = 0;
    // From the typed text to the whole word.
    int toWord = 0;
};

struct NearWordsLimits {
    // How many words at most.
    std::size_t count = 5;
    // How many edits a word's beginning may be from the typed text: 1 for
    // text of fewer than 6 codes, 2 for longer text.
    int shortEdits = 1;
    int longEdits = 2;
    std::size_t longFrom = 6;
    // Typed text longer than this is offered nothing.
    std::size_t maxTyped = 64;
    // The most steps one search takes, so that no list makes a keystroke
    // wait; beyond them the words found so far stand. A list in dictionary
    // order counts the groups of words sharing a beginning it visits, any
    // other list the words it reads.
    std::size_t maxGroups = 400'000;
    std::size_t maxWordsRead = 150'000;
};

// The words of the list nearest the typed text, nearest first: by the
// distance to their nearest beginning, then to the whole word, then by
// their place in the list. Words the same without regard to case are
// offered once, by the first of them. No word is offered whose beginning
// is more edits from the text than the limits allow.
//
// A list in dictionary order (compareWords) is searched as the tree of its
// words' beginnings, visiting only the beginnings that can still be near;
// for any other list say so with `inDictionaryOrder`, and its words are
// read one by one.
std::vector<NearWord> findNearWords(const WordSequence& list, Side side, std::string_view typed,
                                    bool inDictionaryOrder, const NearWordsLimits& limits = {});

} // namespace tavelin
