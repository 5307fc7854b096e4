#pragma once

#include "data/DictionaryKind.h"
#include "text/CharacterSet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin::bench {

// xoshiro256** seeded through splitmix64: the same seed gives the same
// numbers with every compiler and library, unlike the <random> distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed);

    std::uint64_t next();
    // A number in [0, bound); bound must not be 0. The slight bias of the
    // multiply-and-shift reduction does not matter here.
    std::uint32_t below(std::uint32_t bound) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(next() >> 32) * bound) >> 32);
    }
    // True with a probability of perMillion / 1,000,000.
    bool chance(std::uint32_t perMillion) { return below(1'000'000) < perMillion; }

private:
    std::uint64_t state_[4];
};

// Word pairs in one byte buffer: each pair's source word, then its Armenian
// word, with 32-bit offsets between them.
class WordPairs {
public:
    std::size_t size() const { return (offsets_.size() - 1) / 2; }
    std::string_view source(std::size_t i) const { return word(2 * i); }
    std::string_view armenian(std::size_t i) const { return word(2 * i + 1); }

    void reserve(std::size_t pairs, std::size_t bytes);
    void append(std::string_view source, std::string_view armenian);
    std::size_t allocatedBytes() const {
        return bytes_.capacity() + offsets_.capacity() * sizeof(std::uint32_t);
    }

private:
    std::string_view word(std::size_t k) const {
        return std::string_view(bytes_).substr(offsets_[k], offsets_[k + 1] - offsets_[k]);
    }
    void push(std::string_view word);

    std::string bytes_;
    std::vector<std::uint32_t> offsets_{0};
};

// Makes made-up dictionaries that look like real ones to the data layer:
// source words in the source side's 8-bit codes (Windows-1252 letters for
// English, Windows-1251 letters for Russian), unique without regard to case;
// Armenian words in ArmSCII-8 letters, some of them repeated, as when several
// source words share a translation.
//
// Words are 2 to 14 letters long, most of them 6 to 8, with the letters drawn
// by their rough frequency in each language and now and then a capital first
// letter. About one word in a hundred belongs to a family of words sharing a
// 6-10 letter stem ("national", "nationalism", "nationalist"), which is what
// makes prefix searches and the collation work harder. English words now and
// then hold a space, an apostrophe or a hyphen.
//
// The same side, seed and count give the same pairs on every machine.
class WordGenerator {
public:
    // The source side must be English or Russian.
    WordGenerator(Side sourceSide, std::uint64_t seed);

    WordPairs generate(std::size_t count);

private:
    struct Alphabet {
        // Small letters, each repeated by its weight, so that a uniform pick
        // from the table is a pick by frequency.
        std::vector<unsigned char> byFrequency;
        // Small letter code minus capital letter code.
        int capitalOffset;
    };

    void makeLetters(const Alphabet& alphabet, std::size_t length, std::string& out);
    void makeCandidate(std::string& out);
    std::size_t pickLength();
    void makeSourceWord(std::string& out);
    void makeArmenianWord(std::string& out);
    void punctuate(std::string& word);

    Side side_;
    Rng rng_;
    Alphabet source_;
    Alphabet armenian_;
    std::vector<unsigned char> lengths_;
    // The family of words being made: their shared stem, and how many more.
    std::string stem_;
    std::uint32_t familyLeft_ = 0;
};

// Writes the pairs to a new dictionary file, in their order, in one
// transaction. Throws DatabaseError when the file exists or cannot be written.
void writeDictionary(const std::string& path, const DictionaryKind& kind, const WordPairs& pairs);

} // namespace tavelin::bench
