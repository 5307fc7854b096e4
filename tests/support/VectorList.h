#pragma once

#include "data/WordList.h"

#include <string>
#include <vector>

namespace tavelin::test {

// A word list that keeps what the loaders give it.
struct VectorList : WordList {
    std::vector<std::string> words;
    int clears = 0;
    void clear() override {
        words.clear();
        ++clears;
    }
    void append(std::string_view word) override { words.emplace_back(word); }
};

} // namespace tavelin::test
