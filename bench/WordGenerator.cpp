#include "WordGenerator.h"

#include "data/Database.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace tavelin::bench {
namespace {

std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

// How often words are this long, per thousand, from 2 letters up.
constexpr int kLengthWeights[] = {5, 25, 60, 100, 140, 155, 145, 120, 90, 65, 45, 30, 20};
constexpr std::size_t kShortestWord = 2;

// Rough letter frequencies, in alphabet order: headwords of an English
// dictionary (a-z), Russian text (а-я without ё), Armenian text (ա-ֆ).
constexpr int kEnglishWeights[] = {85, 21, 45, 34, 112, 18, 25, 30, 75, 2,  11, 55, 30,
                                   67, 72, 32, 2,  76,  57, 70, 36, 10, 13, 3,  18, 3};
constexpr int kRussianWeights[] = {80, 16, 45, 17, 30, 85, 9, 17, 74, 12, 35, 44, 32, 67, 110, 28,
                                   47, 55, 63, 26, 3,  10, 5, 14, 7,  4,  1,  19, 17, 3,  6,   20};
constexpr int kArmenianWeights[] = {100, 20, 18, 15, 60, 10, 15, 25, 15, 5,  60, 40, 10,
                                    8,   40, 25, 8,  12, 6,  40, 20, 70, 15, 50, 8,  15,
                                    6,   10, 35, 30, 35, 60, 12, 40, 6,  12, 3,  2};

constexpr unsigned char kFirstEnglishSmall = 'a';
constexpr unsigned char kFirstRussianSmall = 224; // а in Windows-1251; А is 192
// ArmSCII-8 letters come in pairs, capital then small: Ա 178, ա 179, Բ 180...
constexpr unsigned char kFirstArmenianSmall = 179;

// Chances per million.
constexpr std::uint32_t kCapitalSource = 15'000;
constexpr std::uint32_t kCapitalArmenian = 10'000;
constexpr std::uint32_t kEnglishSpace = 10'000;
constexpr std::uint32_t kEnglishHyphen = 3'000;
constexpr std::uint32_t kEnglishApostrophe = 2'000;
// Families average 5.5 words, so this start rate puts about 1% of the words
// into families.
constexpr std::uint32_t kFamilyStart = 1'800;
constexpr std::uint32_t kRepeatedArmenian = 50'000;

constexpr std::size_t kShortestStem = 6;
constexpr std::size_t kLongestStem = 10;
constexpr std::size_t kLongestSuffix = 4;
constexpr std::uint32_t kSmallestFamily = 3;
constexpr std::uint32_t kLargestFamily = 8;

// Each value, first + step * i, repeated weights[i] times.
template <std::size_t N>
std::vector<unsigned char> spread(const int (&weights)[N], int first, int step = 1) {
    std::vector<unsigned char> table;
    for (std::size_t i = 0; i < N; ++i) {
        table.insert(table.end(), static_cast<std::size_t>(weights[i]),
                     static_cast<unsigned char>(first + step * static_cast<int>(i)));
    }
    return table;
}

// The hashes of the folded words made so far. A 64-bit hash stands for the
// word: a false match (about one in 10^7 for a million words) only costs
// a word that would have been unique, never a duplicate.
class SeenWords {
public:
    explicit SeenWords(std::size_t count) {
        std::size_t capacity = 1024;
        while (capacity < 2 * count) {
            capacity *= 2;
        }
        slots_.assign(capacity, 0);
        mask_ = capacity - 1;
    }

    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    // False when the hash is already there.
    bool insert(std::uint64_t hash) {
        if (hash == 0) {
            hash = 1; // 0 marks an empty slot
        }
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            if (slots_[i] == hash) {
                return false;
            }
            if (slots_[i] == 0) {
                slots_[i] = hash;
                return true;
            }
        }
    }

private:
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

std::uint64_t foldedHash(const CharacterSet& set, std::string_view word) {
    std::uint64_t h = 0xCBF29CE484222325ULL; // FNV-1a, then a final mix
    for (char c : word) {
        h = (h ^ set.fold(static_cast<unsigned char>(c))) * 0x100000001B3ULL;
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    return h;
}

} // namespace

Rng::Rng(std::uint64_t seed) {
    for (auto& word : state_) {
        word = splitmix64(seed);
    }
}

std::uint64_t Rng::next() {
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

void WordPairs::reserve(std::size_t pairs, std::size_t bytes) {
    offsets_.reserve(2 * pairs + 1);
    bytes_.reserve(bytes);
}

void WordPairs::append(std::string_view source, std::string_view armenian) {
    push(source);
    push(armenian);
}

void WordPairs::push(std::string_view word) {
    if (bytes_.size() + word.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("word pairs exceed 4 GiB");
    }
    bytes_.append(word);
    offsets_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

WordGenerator::WordGenerator(Side sourceSide, std::uint64_t seed)
    : side_(sourceSide),
      rng_(seed), armenian_{spread(kArmenianWeights, kFirstArmenianSmall, 2), 1} {
    switch (sourceSide) {
    case Side::English:
        source_ = {spread(kEnglishWeights, kFirstEnglishSmall), 32};
        break;
    case Side::Russian:
        source_ = {spread(kRussianWeights, kFirstRussianSmall), 32};
        break;
    case Side::Armenian:
        throw std::invalid_argument("the source side is English or Russian");
    }
    lengths_ = spread(kLengthWeights, kShortestWord);
}

void WordGenerator::makeLetters(const Alphabet& alphabet, std::size_t length, std::string& out) {
    const auto letters = static_cast<std::uint32_t>(alphabet.byFrequency.size());
    for (std::size_t i = 0; i < length; ++i) {
        out += static_cast<char>(alphabet.byFrequency[rng_.below(letters)]);
    }
}

std::size_t WordGenerator::pickLength() {
    return lengths_[rng_.below(static_cast<std::uint32_t>(lengths_.size()))];
}

void WordGenerator::makeSourceWord(std::string& out) {
    out.clear();
    makeLetters(source_, pickLength(), out);
    if (side_ == Side::English) {
        punctuate(out);
    }
    if (rng_.chance(kCapitalSource)) {
        out[0] = static_cast<char>(static_cast<unsigned char>(out[0]) - source_.capitalOffset);
    }
}

// Turns an inner letter of a longer word into a space ("ice cream"),
// a hyphen ("well-known") or an apostrophe ("o'clock") now and then.
void WordGenerator::punctuate(std::string& word) {
    if (word.size() < 5) {
        return;
    }
    const std::uint32_t roll = rng_.below(1'000'000);
    char mark;
    if (roll < kEnglishSpace) {
        mark = ' ';
    } else if (roll < kEnglishSpace + kEnglishHyphen) {
        mark = '-';
    } else if (roll < kEnglishSpace + kEnglishHyphen + kEnglishApostrophe) {
        mark = '\'';
    } else {
        return;
    }
    word[2 + rng_.below(static_cast<std::uint32_t>(word.size() - 4))] = mark;
}

void WordGenerator::makeArmenianWord(std::string& out) {
    out.clear();
    makeLetters(armenian_, pickLength(), out);
    if (rng_.chance(kCapitalArmenian)) {
        out[0] = static_cast<char>(static_cast<unsigned char>(out[0]) - armenian_.capitalOffset);
    }
}

// The next source word to try: a member of the current family of words, or
// a word of its own.
void WordGenerator::makeCandidate(std::string& out) {
    if (familyLeft_ == 0 && rng_.chance(kFamilyStart)) {
        stem_.clear();
        makeLetters(source_, kShortestStem + rng_.below(kLongestStem - kShortestStem + 1), stem_);
        familyLeft_ = kSmallestFamily + rng_.below(kLargestFamily - kSmallestFamily + 1);
    }
    if (familyLeft_ > 0) {
        --familyLeft_;
        out = stem_;
        makeLetters(source_, rng_.below(kLongestSuffix + 1), out);
    } else {
        makeSourceWord(out);
    }
}

WordPairs WordGenerator::generate(std::size_t count) {
    const CharacterSet& set = CharacterSet::of(side_);
    WordPairs pairs;
    pairs.reserve(count, count * 17);
    SeenWords seen(count);

    // The set of words seen is far larger than the cache, and looking a word
    // up in it would cost more than making the word. So each pair's source
    // word is made one step ahead and its slot fetched while the Armenian word
    // of the pair before is made.
    std::string next;
    std::uint64_t nextHash = 0;
    const auto propose = [&] {
        makeCandidate(next);
        nextHash = foldedHash(set, next);
        seen.prefetch(nextHash);
    };
    propose();

    std::string source;
    std::string armenian;
    for (std::size_t i = 0; i < count; ++i) {
        for (int attempt = 0; !seen.insert(nextHash); ++attempt) {
            if (attempt == 10'000) {
                throw std::runtime_error("cannot find a new word; too many words asked for");
            }
            propose();
        }
        source.swap(next);
        propose();
        if (i > 0 && rng_.chance(kRepeatedArmenian)) {
            armenian = pairs.armenian(rng_.below(static_cast<std::uint32_t>(i)));
        } else {
            makeArmenianWord(armenian);
        }
        pairs.append(source, armenian);
    }
    return pairs;
}

void writeDictionary(const std::string& path, const DictionaryKind& kind, const WordPairs& pairs) {
    Database database = Database::create(path, kind);
    database.inTransaction([&] {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            database.append(pairs.source(i), pairs.armenian(i));
        }
    });
}

} // namespace tavelin::bench
