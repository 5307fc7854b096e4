#include "Stugum.h"

#include <QApplication>

#include <algorithm>

namespace tavelin::Stugum {

std::int16_t CurrentKey = 0;
std::array<std::int16_t, 100> ExceptionChars{};
std::int16_t ExceptionCount = 0;

namespace {

enum class KeyClass { Armenian, Capital, Small, Digit, Other };

KeyClass classOf(int code) {
    if (code >= 178 && code <= 253) {
        return KeyClass::Armenian;
    }
    if (code >= 'A' && code <= 'Z') {
        return KeyClass::Capital;
    }
    if (code >= 'a' && code <= 'z') {
        return KeyClass::Small;
    }
    if (code >= '0' && code <= '9') {
        return KeyClass::Digit;
    }
    return KeyClass::Other;
}

// Codes that pass even where the other class is refused: Backspace, Tab,
// line feed, Enter and space.
bool passesAlways(int code) {
    return code == 8 || code == 9 || code == 10 || code == 13 || code == 32;
}

std::function<void()>& beepFunction() {
    static std::function<void()> beep;
    return beep;
}

} // namespace

void CheckKey(bool armenianLetters, bool capitalLatin, bool smallLatin, bool digits, bool others,
              bool useExceptions, bool beep) {
    const auto allowed = [&](KeyClass keyClass) {
        switch (keyClass) {
        case KeyClass::Armenian:
            return armenianLetters;
        case KeyClass::Capital:
            return capitalLatin;
        case KeyClass::Small:
            return smallLatin;
        case KeyClass::Digit:
            return digits;
        case KeyClass::Other:
            return others;
        }
        return false;
    };

    // An exception reverses its class's rule: accepted at once when the class
    // is refused, refused when it is accepted (and the later slots are then
    // compared with the 0 it became).
    if (useExceptions) {
        const auto count = static_cast<std::size_t>(std::clamp<int>(ExceptionCount, 0, 99));
        for (std::size_t i = 1; i <= count; ++i) {
            if (ExceptionChars[i] != CurrentKey) {
                continue;
            }
            if (!allowed(classOf(CurrentKey))) {
                return;
            }
            CurrentKey = 0;
        }
    }

    // The class test: capitals, small letters, digits, Armenian letters, other.
    const KeyClass keyClass = classOf(CurrentKey);
    if (!allowed(keyClass) && !(keyClass == KeyClass::Other && passesAlways(CurrentKey))) {
        CurrentKey = 0;
    }

    if (beep && CurrentKey == 0) {
        Beep();
    }
}

void Beep() {
    if (beepFunction()) {
        beepFunction()();
    } else {
        QApplication::beep();
    }
}

void setBeep(std::function<void()> beep) {
    beepFunction() = std::move(beep);
}

} // namespace tavelin::Stugum
