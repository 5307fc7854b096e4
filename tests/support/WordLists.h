#pragma once

// A word list's words taken out as a vector, and put in as a loader puts them.

#include "main_window/WordListModel.h"

#include <string>
#include <vector>

namespace tavelin::test {

inline std::vector<std::string> contents(const WordListModel& list) {
    std::vector<std::string> words;
    for (int i = 0; i < list.count(); ++i) {
        words.emplace_back(list.word(i));
    }
    return words;
}

inline void fill(WordListModel& list, const std::vector<std::string>& words) {
    list.clear();
    for (const auto& word : words) {
        list.append(word);
    }
    list.finish();
}

} // namespace tavelin::test
