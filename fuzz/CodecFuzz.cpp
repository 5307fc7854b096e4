// The character sets' codecs and word order on any bytes.
//
// The input is used three ways for each side: as dictionary codes (to UTF-8
// and to the screen and back), as UTF-8 and as UTF-16 text (back to codes),
// and cut into three words for the order and the case folding.
#include "FuzzCheck.h"

#include "platform/TextCodec.h"
#include "text/CharacterSet.h"

#include <QList>
#include <QString>
#include <QUtf8StringView>

#include <algorithm>
#include <array>

namespace tavelin::fuzz {
namespace {

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
        text += ' ';
    }
    return text;
}

std::string sideName(Side side) {
    return side == Side::English ? "English" : side == Side::Russian ? "Russian" : "Armenian";
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Codes to text and back: every defined code comes back as a code showing the
// same character, and only a word with an undefined code fails.
void checkCodes(Side side, std::string_view codes) {
    const std::string where = sideName(side) + " codes " + hex(codes);
    const CharacterSet& set = CharacterSet::of(side);
    const bool defined = std::all_of(codes.begin(), codes.end(), [&](char c) {
        return set.toUnicode(static_cast<unsigned char>(c)) != 0xFFFD;
    });
    const std::string utf8 = toUtf8(side, codes);
    FUZZ_CHECK(QUtf8StringView(utf8).isValidUtf8(), where + " give bad UTF-8 " + hex(utf8));
    const QString display = toDisplay(side, codes);
    FUZZ_CHECK(display.size() == static_cast<qsizetype>(codes.size()) &&
                   display == QString::fromUtf8(utf8),
               where + ": the screen and UTF-8 show different characters");

    const auto back = fromUtf8(side, utf8);
    FUZZ_CHECK(back.has_value() == defined,
               where + (defined ? " do not come back from UTF-8" : " have an undefined code"));
    FUZZ_CHECK(fromDisplay(side, display) == back,
               where + ": from the screen and from UTF-8 give different codes");
    if (back) {
        FUZZ_CHECK(back->size() == codes.size() && toUtf8(side, *back) == utf8,
                   where + " come back as " + hex(*back));
        FUZZ_CHECK(fromUtf8(side, toUtf8(side, *back)) == back,
                   where + ": the codes typing gives do not come back as themselves");
    }
}

// Text to codes: no crash; what is taken shows the same text again; what Qt
// decodes to characters that all have codes is taken.
void checkText(Side side, std::string_view utf8) {
    const std::string where = sideName(side) + " text " + hex(utf8);
    const CharacterSet& set = CharacterSet::of(side);
    const auto codes = fromUtf8(side, utf8);
    const bool valid = QUtf8StringView(utf8).isValidUtf8();
    if (codes) {
        FUZZ_CHECK(valid, where + " is taken but is not UTF-8");
        FUZZ_CHECK(toUtf8(side, *codes) == utf8,
                   where + " comes back as " + hex(toUtf8(side, *codes)));
    }
    if (valid) {
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        const auto characters = text.toUcs4();
        const bool allHaveCodes =
            std::all_of(characters.begin(), characters.end(),
                        [&](char32_t ch) { return set.fromUnicode(ch).has_value(); });
        FUZZ_CHECK(
            codes.has_value() == allHaveCodes,
            where + (allHaveCodes ? " is refused" : " is taken with a character lacking a code"));
        FUZZ_CHECK(fromDisplay(side, text) == codes, where + ": typed and as UTF-8 differ");
    }
}

// UTF-16 from the keyboard or the clipboard, broken surrogates and all.
void checkDisplayText(Side side, std::string_view bytes) {
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    const auto codes = fromDisplay(side, text);
    if (codes) {
        FUZZ_CHECK(toDisplay(side, *codes) == text,
                   sideName(side) + " UTF-16 " + hex(bytes) + " comes back as other text");
    }
}

// The dictionary order is a total order in which capital and small letters
// weigh the same, and the prefix search agrees with it.
void checkOrder(Side side, const std::array<std::string_view, 3>& words) {
    const std::string where =
        sideName(side) + " words " + hex(words[0]) + "| " + hex(words[1]) + "| " + hex(words[2]);
    for (std::string_view a : words) {
        const std::string folded = foldCase(side, a);
        FUZZ_CHECK(compareWords(side, a, a) == 0, where);
        FUZZ_CHECK(folded.size() == a.size() && foldCase(side, folded) == folded,
                   where + ": folding twice differs from folding once");
        FUZZ_CHECK(equalIgnoringCase(side, a, folded), where + ": a word differs from its fold");
        for (std::string_view b : words) {
            const int ab = compareWords(side, a, b);
            FUZZ_CHECK(sign(ab) == -sign(compareWords(side, b, a)), where + ": not antisymmetric");
            FUZZ_CHECK((ab == 0) == (a == b), where + ": different words compare equal");
            const std::string foldedB = foldCase(side, b);
            FUZZ_CHECK(equalIgnoringCase(side, a, b) == (folded == foldedB),
                       where + ": equal without regard to case, yet other folds");
            if (folded != foldedB) {
                FUZZ_CHECK(sign(compareWords(side, folded, foldedB)) == sign(ab),
                           where + ": folding changed the order");
            }
            const int prefix = comparePrefix(side, a, b);
            FUZZ_CHECK((prefix == 0) == std::string_view(folded).starts_with(foldedB),
                       where + ": the prefix search and the fold disagree");
            FUZZ_CHECK(startsWithIgnoringCase(side, a, b) == (prefix == 0), where);
            if (prefix != 0) {
                // Then the word stands on one side of every word that starts with b.
                for (std::string_view c : words) {
                    const std::string continuation = std::string(b) + std::string(c);
                    FUZZ_CHECK(sign(compareWords(side, a, continuation)) == sign(prefix),
                               where + ": the prefix search and the order disagree");
                }
            }
            for (std::string_view c : words) {
                if (ab <= 0 && compareWords(side, b, c) <= 0) {
                    FUZZ_CHECK(compareWords(side, a, c) <= 0, where + ": not transitive");
                }
            }
        }
    }
}

} // namespace

int fuzzCodecs(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first two bytes give the lengths of the first two words.
    std::array<std::string_view, 3> words;
    std::string_view rest = bytes.substr(std::min<size_t>(2, size));
    for (size_t i = 0; i < 2; ++i) {
        const size_t length = i < size ? static_cast<unsigned char>(bytes[i]) % 32 : 0;
        words[i] = rest.substr(0, length);
        rest.remove_prefix(words[i].size());
    }
    words[2] = rest;
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        checkCodes(side, bytes);
        checkText(side, bytes);
        checkDisplayText(side, bytes);
        checkOrder(side, words);
    }
    return 0;
}

} // namespace tavelin::fuzz
