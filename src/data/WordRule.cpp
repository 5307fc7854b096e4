#include "WordRule.h"

#include <algorithm>

namespace tavelin {

bool isControlCode(unsigned char code) {
    return code < 32 || code == 127;
}

WordFault wordFault(std::string_view codes) {
    if (codes.empty()) {
        return WordFault::Empty;
    }
    if (codes.front() == ' ') {
        return WordFault::BeginsWithSpace;
    }
    if (codes.size() > kLongestWord) {
        return WordFault::TooLong;
    }
    if (std::any_of(codes.begin(), codes.end(),
                    [](char c) { return isControlCode(static_cast<unsigned char>(c)); })) {
        return WordFault::ControlCharacter;
    }
    return WordFault::None;
}

} // namespace tavelin
