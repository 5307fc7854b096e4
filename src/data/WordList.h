#pragma once

#include <cstddef>
#include <string_view>

namespace tavelin {

// A word list the loaders fill: it can be emptied and have a word appended
// at its end. Words are the dictionary's 8-bit codes.
class WordList {
public:
    virtual ~WordList() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view word) = 0;
    // A hint that about this many words follow; lists may ignore it.
    virtual void reserve(std::size_t /*count*/) {}
    // The last word has been appended.
    virtual void finish() {}
};

} // namespace tavelin
