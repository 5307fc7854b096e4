#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace tavelin {

// A sequence of words (8-bit codes) kept in pages of 64 KiB. A page holds
// its words' codes back to back from its start, and where each word ends, 16
// bits a word, from its end; what is left between them is the page's room.
//
// Putting a word in or taking one out moves the codes of one page only (a
// full page is split in two first), and then a number per page: a list of a
// million words changes in microseconds, where one block of codes would
// move every word after the place. A word longer than a quarter page gets a
// page of its own. Reading a word is a look at the page last read, or a
// halving of the pages' first positions.
class WordStore {
public:
    static constexpr std::size_t kPageBytes = 65536;

    // `pageBytes` (an even number from 64 to 65536) is for tests.
    explicit WordStore(std::size_t pageBytes = kPageBytes);
    WordStore(WordStore&&) noexcept = default;
    WordStore& operator=(WordStore&&) noexcept = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // The codes of a word stand in their page with at least kSlack bytes of
    // the page after them: reading eight codes at a time past a word's end
    // stays inside memory the store owns.
    static constexpr std::size_t kSlack = 8;

    std::string_view operator[](std::size_t index) const {
        const std::size_t page = pageOf(index);
        return pages_[page].word(index - firsts_[page]);
    }

    void clear();
    // A hint that about this many words will be appended.
    void reserve(std::size_t words);
    // Appends the word; gives its codes as stored, which stay where they are
    // until a word is put in or taken out before the end.
    std::string_view push_back(std::string_view word);
    // Puts the word before the one at `index` (at the end when it is size()).
    void insert(std::size_t index, std::string_view word);
    void erase(std::size_t index);

    // The pages' bytes, room included.
    std::size_t allocatedBytes() const;

    // A page as it is stored, for a copy of the words on disk: its words'
    // codes, and their ends (2 bytes a word, the last word's first) unless
    // it holds one long word alone.
    struct PageImage {
        std::uint32_t count;
        bool single;
        std::string_view codes;
        std::string_view ends;
    };
    std::size_t pageCount() const { return pages_.size(); }
    PageImage page(std::size_t index) const;
    // Appends a page of `count` words and `bytes` codes, as a page image
    // gives them: `read` fills the codes and then the ends (2 * count bytes,
    // none for a single word) and says whether it could. Returns false,
    // appending nothing, when `read` fails or what it read is no page this
    // store could have written (no words, too many bytes, ends out of
    // order, a word too long for a shared page or too short for its own).
    bool appendPage(bool single, std::uint32_t count, std::uint32_t bytes,
                    const std::function<bool(char* codes, char* ends)>& read);

private:
    struct Page {
        std::unique_ptr<char[]> data;
        // Bytes for codes and ends; the ends are stored from here down.
        std::uint32_t capacity = 0;
        std::uint32_t count = 0;
        // Codes stored from the start.
        std::uint32_t bytes = 0;
        // One word, `bytes` long, with no end stored.
        bool single = false;

        std::uint32_t endOf(std::uint32_t k) const {
            std::uint16_t end;
            std::memcpy(&end, data.get() + (capacity - 2 * (std::size_t{k} + 1)), sizeof end);
            return end;
        }
        void setEnd(std::uint32_t k, std::uint32_t end) {
            const auto value = static_cast<std::uint16_t>(end);
            std::memcpy(data.get() + (capacity - 2 * (std::size_t{k} + 1)), &value, sizeof value);
        }
        std::uint32_t startOf(std::uint32_t k) const { return k == 0 ? 0 : endOf(k - 1); }
        std::string_view word(std::size_t k) const {
            if (single) {
                return {data.get(), bytes};
            }
            const auto index = static_cast<std::uint32_t>(k);
            const std::uint32_t begin = startOf(index);
            return {data.get() + begin, endOf(index) - begin};
        }
        std::size_t room() const { return capacity - bytes - 2 * std::size_t{count}; }
        bool fits(std::size_t length) const { return !single && length + 2 <= room(); }
        void insert(std::uint32_t k, std::string_view word);
        void erase(std::uint32_t k);
    };

    static Page makePage(std::size_t capacity);
    // A page holding one long word and nothing else.
    static Page makeLongWordPage(std::string_view word);
    std::size_t pageOf(std::size_t index) const;
    // Whether the word needs a page of its own.
    bool isLong(std::size_t length) const { return length > longest_; }
    // Moves the words from position k of the page on to a new page after it.
    void split(std::size_t page, std::uint32_t k);
    void insertPage(std::size_t at, Page page, std::size_t first);
    void shiftFirsts(std::size_t fromPage, std::ptrdiff_t by);

    std::size_t pageBytes_;
    std::size_t longest_;
    std::vector<Page> pages_;
    // The position of each page's first word.
    std::vector<std::size_t> firsts_;
    std::size_t size_ = 0;
    mutable std::size_t lastPage_ = 0;
};

} // namespace tavelin
