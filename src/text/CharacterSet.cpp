#include "CharacterSet.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace tavelin {
namespace {

constexpr char32_t kUndefined = 0xFFFD;
// The Armenian ligature "ev". ArmSCII-8 gives it code 162; the Armenian word
// fields admit code 168 for it, so both read as the ligature and typing it
// gives 168.
constexpr char32_t kArmenianEv = 0x0587;
constexpr unsigned char kEvTyped = 168;
constexpr unsigned char kEvArmscii = 162;

// Windows-1252, codes 0x80-0x9F; the rest of the upper half is Latin-1.
constexpr char32_t kCp1252High[32] = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178};

// Windows-1251, codes 0x80-0xBF; 0xC0-0xFF are the letters U+0410-U+044F.
constexpr char32_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A,     0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C,     0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, kUndefined, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408,     0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE,     0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116,     0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// ArmSCII-8, codes 0xA0-0xB1 (punctuation); 0xB2-0xFD are the letter pairs,
// 0xFE the apostrophe, 0xFF undefined. 0x80-0x9F stand for themselves.
constexpr char32_t kArmsciiPunctuation[18] = {
    0x00A0, kUndefined, kArmenianEv,
    0x0589, 0x0029,     0x0028,
    0x00BB, 0x00AB,     kArmenianEv /* 168, see kEvTyped */,
    0x002E, 0x055D,     0x002C,
    0x002D, 0x058A,     0x2026,
    0x055C, 0x055B,     0x055E};

constexpr unsigned char kFirstArmenianLetter = 0xB2;
constexpr unsigned char kLastArmenianLetter = 0xFD;
constexpr unsigned char kArmenianQe = 0xF8; // the letter before "ev" in the alphabet

struct ReverseEntry {
    char32_t ch;
    unsigned char code;
};

// Reverse tables, sorted by character, for the upper half of each set.
const std::vector<ReverseEntry>& reverseTable(Side side) {
    static const auto build = [](Side s) {
        std::vector<ReverseEntry> table;
        const CharacterSet& set = CharacterSet::of(s);
        for (int code = 128; code < 256; ++code) {
            const char32_t ch = set.toUnicode(static_cast<unsigned char>(code));
            if (ch == kUndefined || ch < 128) {
                continue; // ASCII characters keep their own codes
            }
            if (ch == kArmenianEv && code != kEvTyped) {
                continue;
            }
            table.push_back({ch, static_cast<unsigned char>(code)});
        }
        std::stable_sort(table.begin(), table.end(),
                         [](const ReverseEntry& a, const ReverseEntry& b) { return a.ch < b.ch; });
        // Keep the lowest code where a character has two.
        table.erase(
            std::unique(table.begin(), table.end(),
                        [](const ReverseEntry& a, const ReverseEntry& b) { return a.ch == b.ch; }),
            table.end());
        return table;
    };
    static const std::vector<ReverseEntry> tables[3] = {build(Side::English), build(Side::Russian),
                                                        build(Side::Armenian)};
    return tables[static_cast<int>(side)];
}

} // namespace

const CharacterSet& CharacterSet::of(Side side) {
    static const CharacterSet sets[3] = {CharacterSet(Side::English), CharacterSet(Side::Russian),
                                         CharacterSet(Side::Armenian)};
    return sets[static_cast<int>(side)];
}

CharacterSet::CharacterSet(Side side) : side_(side) {
    for (std::size_t code = 0; code < 256; ++code) {
        unicode_[code] = static_cast<char32_t>(code);
        fold_[code] = static_cast<unsigned char>(code);
    }
    // The letter classes of the alphabet, in order; each class is a list of
    // codes that weigh the same (capital first, it is the fold target).
    std::vector<std::vector<unsigned char>> alphabet;

    switch (side) {
    case Side::English:
        for (std::size_t code = 0x80; code < 0xA0; ++code) {
            unicode_[code] = kCp1252High[code - 0x80];
        }
        for (unsigned char c = 'A'; c <= 'Z'; ++c) {
            alphabet.push_back({c, static_cast<unsigned char>(c + 32)});
        }
        break;
    case Side::Russian:
        for (std::size_t code = 0x80; code < 0xC0; ++code) {
            unicode_[code] = kCp1251High[code - 0x80];
        }
        for (std::size_t code = 0xC0; code < 0x100; ++code) {
            unicode_[code] = static_cast<char32_t>(0x0410 + (code - 0xC0));
        }
        for (int c = 0xC0; c < 0xE0; ++c) {
            alphabet.push_back({static_cast<unsigned char>(c), static_cast<unsigned char>(c + 32)});
            if (c == 0xC5) { // Ё/ё follows Е/е
                alphabet.push_back({168, 184});
            }
        }
        break;
    case Side::Armenian:
        for (std::size_t code = 0xA0; code < 0xB2; ++code) {
            unicode_[code] = kArmsciiPunctuation[code - 0xA0];
        }
        for (std::size_t code = kFirstArmenianLetter; code <= kLastArmenianLetter; ++code) {
            const auto pair = static_cast<char32_t>((code - kFirstArmenianLetter) / 2);
            const bool capital = (code - kFirstArmenianLetter) % 2 == 0;
            unicode_[code] = (capital ? U'\u0531' : U'\u0561') + pair;
        }
        unicode_[0xFE] = 0x055A;
        unicode_[0xFF] = kUndefined;
        for (int c = kFirstArmenianLetter; c < kLastArmenianLetter; c += 2) {
            alphabet.push_back({static_cast<unsigned char>(c), static_cast<unsigned char>(c + 1)});
            if (c == kArmenianQe) {
                alphabet.push_back({kEvTyped, kEvArmscii});
            }
        }
        break;
    }

    for (const auto& letterClass : alphabet) {
        for (unsigned char code : letterClass) {
            letter_[code] = true;
            fold_[code] = letterClass.front();
        }
    }
    // Weights: every other code by its value, then the letters in order.
    int next = 0;
    for (std::size_t code = 0; code < 256; ++code) {
        if (!letter_[code]) {
            weight_[code] = static_cast<unsigned char>(next++);
        }
    }
    for (const auto& letterClass : alphabet) {
        for (unsigned char code : letterClass) {
            weight_[code] = static_cast<unsigned char>(next);
        }
        ++next;
    }
}

std::optional<unsigned char> CharacterSet::fromUnicode(char32_t ch) const {
    if (ch < 128) {
        return static_cast<unsigned char>(ch);
    }
    const auto& table = reverseTable(side_);
    auto it = std::lower_bound(table.begin(), table.end(), ch,
                               [](const ReverseEntry& e, char32_t c) { return e.ch < c; });
    if (it == table.end() || it->ch != ch) {
        return std::nullopt;
    }
    return it->code;
}

std::string foldCase(Side side, std::string_view word) {
    const CharacterSet& set = CharacterSet::of(side);
    std::string out(word);
    for (char& c : out) {
        c = static_cast<char>(set.fold(static_cast<unsigned char>(c)));
    }
    return out;
}

bool startsWithIgnoringCase(Side side, std::string_view word, std::string_view prefix) {
    return comparePrefix(side, word, prefix) == 0;
}

bool equalIgnoringCase(Side side, std::string_view a, std::string_view b) {
    return a.size() == b.size() && comparePrefix(side, a, b) == 0;
}

int compareWords(Side side, std::string_view a, std::string_view b) {
    const CharacterSet& set = CharacterSet::of(side);
    const size_t n = std::min(a.size(), b.size());
    // Equal codes weigh the same: their common beginning is passed over at
    // the speed of memcmp (a word from a file made elsewhere can be
    // megabytes long, and a look-up compares it with itself).
    constexpr size_t kBlock = 64;
    size_t same = 0;
    while (same + kBlock <= n && std::memcmp(a.data() + same, b.data() + same, kBlock) == 0) {
        same += kBlock;
    }
    for (size_t i = same; i < n; ++i) {
        const int wa = set.weight(static_cast<unsigned char>(a[i]));
        const int wb = set.weight(static_cast<unsigned char>(b[i]));
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    const int raw = std::memcmp(a.data() + same, b.data() + same, n - same);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

int comparePrefix(Side side, std::string_view word, std::string_view prefix) {
    const CharacterSet& set = CharacterSet::of(side);
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (i == word.size()) {
            return -1;
        }
        const int ww = set.weight(static_cast<unsigned char>(word[i]));
        const int wp = set.weight(static_cast<unsigned char>(prefix[i]));
        if (ww != wp) {
            return ww < wp ? -1 : 1;
        }
    }
    return 0;
}

std::string toUtf8(Side side, std::string_view codes) {
    const CharacterSet& set = CharacterSet::of(side);
    std::string out;
    out.reserve(codes.size() * 2);
    for (char c : codes) {
        const char32_t ch = set.toUnicode(static_cast<unsigned char>(c));
        if (ch < 0x80) {
            out += static_cast<char>(ch);
        } else if (ch < 0x800) {
            out += static_cast<char>(0xC0 | (ch >> 6));
            out += static_cast<char>(0x80 | (ch & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (ch >> 12));
            out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return out;
}

std::optional<std::string> fromUtf8(Side side, std::string_view utf8) {
    const CharacterSet& set = CharacterSet::of(side);
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t ch;
        size_t length;
        if (lead < 0x80) {
            ch = lead;
            length = 1;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            ch = lead & 0x1F;
            length = 2;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            ch = lead & 0x0F;
            length = 3;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            ch = lead & 0x07;
            length = 4;
        } else {
            return std::nullopt;
        }
        if (i + length > utf8.size()) {
            return std::nullopt;
        }
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            ch = (ch << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && ch < 0x800) || (length == 4 && ch < 0x10000);
        if (overlong || ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000)) {
            return std::nullopt;
        }
        const auto code = set.fromUnicode(ch);
        if (!code) {
            return std::nullopt;
        }
        out += static_cast<char>(*code);
        i += length;
    }
    return out;
}

} // namespace tavelin
