#include "WordStore.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace tavelin {

WordStore::WordStore(std::size_t pageBytes)
    : pageBytes_(std::clamp<std::size_t>(pageBytes & ~std::size_t{1}, 64, kPageBytes)),
      // A page split in two has room for any word not longer than this in
      // either half.
      longest_(pageBytes_ / 4 - 2) {}

WordStore::Page WordStore::makePage(std::size_t capacity) {
    Page page;
    // Not value-initialised: bytes never written take no memory.
    page.data.reset(new char[capacity + kSlack]);
    page.capacity = static_cast<std::uint32_t>(capacity);
    return page;
}

WordStore::Page WordStore::makeLongWordPage(std::string_view word) {
    Page page = makePage(word.size());
    page.single = true;
    page.count = 1;
    page.bytes = static_cast<std::uint32_t>(word.size());
    std::memcpy(page.data.get(), word.data(), word.size());
    return page;
}

void WordStore::Page::insert(std::uint32_t k, std::string_view word) {
    const auto length = static_cast<std::uint32_t>(word.size());
    const std::uint32_t at = startOf(k);
    char* const codes = data.get();
    std::memmove(codes + at + length, codes + at, bytes - at);
    if (length > 0) {
        std::memcpy(codes + at, word.data(), length);
    }
    // The ends of the words from k on move one place down, and on by the
    // word's length.
    char* const ends = codes + capacity - 2 * std::size_t{count};
    std::memmove(ends - 2, ends, 2 * std::size_t{count - k});
    for (std::uint32_t i = count; i > k; --i) {
        setEnd(i, endOf(i) + length);
    }
    ++count;
    setEnd(k, at + length);
    bytes += length;
}

void WordStore::Page::erase(std::uint32_t k) {
    const std::uint32_t at = startOf(k);
    const std::uint32_t length = endOf(k) - at;
    char* const codes = data.get();
    std::memmove(codes + at, codes + at + length, bytes - at - length);
    for (std::uint32_t i = k + 1; i < count; ++i) {
        setEnd(i, endOf(i) - length);
    }
    char* const ends = codes + capacity - 2 * std::size_t{count};
    std::memmove(ends + 2, ends, 2 * std::size_t{count - k - 1});
    --count;
    bytes -= length;
}

void WordStore::clear() {
    pages_.clear();
    firsts_.clear();
    size_ = 0;
    lastPage_ = 0;
}

void WordStore::reserve(std::size_t words) {
    // Most words are shorter than ten codes.
    const std::size_t pages = words * 12 / pageBytes_ + 1;
    pages_.reserve(pages);
    firsts_.reserve(pages);
}

std::size_t WordStore::pageOf(std::size_t index) const {
    const std::size_t last = lastPage_;
    if (last < pages_.size() && index >= firsts_[last] &&
        index - firsts_[last] < pages_[last].count) {
        return last;
    }
    const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), index);
    lastPage_ = static_cast<std::size_t>(after - firsts_.begin()) - 1;
    return lastPage_;
}

void WordStore::shiftFirsts(std::size_t fromPage, std::ptrdiff_t by) {
    for (std::size_t p = fromPage; p < firsts_.size(); ++p) {
        firsts_[p] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(firsts_[p]) + by);
    }
}

void WordStore::insertPage(std::size_t at, Page page, std::size_t first) {
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(at), std::move(page));
    firsts_.insert(firsts_.begin() + static_cast<std::ptrdiff_t>(at), first);
}

std::string_view WordStore::push_back(std::string_view word) {
    if (pages_.empty() || !pages_.back().fits(word.size()) || isLong(word.size())) {
        if (size_ >= std::size_t{std::numeric_limits<std::uint32_t>::max()}) {
            throw std::length_error("a word list holds 2^32 words at most");
        }
        if (isLong(word.size())) {
            Page page = makeLongWordPage(word);
            const std::string_view stored(page.data.get(), page.bytes);
            pages_.push_back(std::move(page));
            firsts_.push_back(size_);
            ++size_;
            return stored;
        }
        pages_.push_back(makePage(pageBytes_));
        firsts_.push_back(size_);
    }
    Page& page = pages_.back();
    char* const at = page.data.get() + page.bytes;
    if (!word.empty()) {
        std::memcpy(at, word.data(), word.size());
    }
    page.bytes += static_cast<std::uint32_t>(word.size());
    page.setEnd(page.count, page.bytes);
    ++page.count;
    ++size_;
    return {at, word.size()};
}

void WordStore::split(std::size_t page, std::uint32_t k) {
    Page& left = pages_[page];
    Page right = makePage(pageBytes_);
    const std::uint32_t from = left.startOf(k);
    right.bytes = left.bytes - from;
    right.count = left.count - k;
    std::memcpy(right.data.get(), left.data.get() + from, right.bytes);
    for (std::uint32_t i = 0; i < right.count; ++i) {
        right.setEnd(i, left.endOf(k + i) - from);
    }
    left.count = k;
    left.bytes = from;
    insertPage(page + 1, std::move(right), firsts_[page] + k);
}

void WordStore::insert(std::size_t index, std::string_view word) {
    if (index >= size_) {
        push_back(word);
        return;
    }
    std::size_t page = pageOf(index);
    auto k = static_cast<std::uint32_t>(index - firsts_[page]);
    // At the start of a page the word may as well end the page before.
    if (k == 0 && page > 0 && pages_[page - 1].fits(word.size()) && !isLong(word.size())) {
        --page;
        k = pages_[page].count;
    } else if (isLong(word.size()) || pages_[page].single) {
        // A page of its own for a long word; a word beside a long one gets
        // a new page.
        if (k > 0) {
            split(page, k);
            ++page;
        }
        Page added = isLong(word.size()) ? makeLongWordPage(word) : makePage(pageBytes_);
        if (!added.single) {
            added.insert(0, word);
        }
        insertPage(page, std::move(added), firsts_[page]);
        shiftFirsts(page + 1, 1);
        ++size_;
        return;
    } else if (!pages_[page].fits(word.size())) {
        // Split where about half the page's bytes lie on each side.
        const Page& full = pages_[page];
        const std::size_t half = (full.bytes + 2 * std::size_t{full.count}) / 2;
        std::uint32_t middle = 1;
        while (middle + 1 < full.count && full.endOf(middle - 1) + 2 * std::size_t{middle} < half) {
            ++middle;
        }
        split(page, middle);
        if (k >= middle) {
            ++page;
            k -= middle;
        }
    }
    pages_[page].insert(k, word);
    shiftFirsts(page + 1, 1);
    ++size_;
}

void WordStore::erase(std::size_t index) {
    const std::size_t page = pageOf(index);
    Page& holder = pages_[page];
    if (holder.count == 1) {
        pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(page));
        firsts_.erase(firsts_.begin() + static_cast<std::ptrdiff_t>(page));
        lastPage_ = 0;
        shiftFirsts(page, -1);
    } else {
        holder.erase(static_cast<std::uint32_t>(index - firsts_[page]));
        shiftFirsts(page + 1, -1);
    }
    --size_;
}

WordStore::PageImage WordStore::page(std::size_t index) const {
    const Page& page = pages_[index];
    const std::size_t endBytes = page.single ? 0 : 2 * std::size_t{page.count};
    return {page.count,
            page.single,
            {page.data.get(), page.bytes},
            {page.data.get() + page.capacity - endBytes, endBytes}};
}

bool WordStore::appendPage(bool single, std::uint32_t count, std::uint32_t bytes,
                           const std::function<bool(char* codes, char* ends)>& read) {
    const std::size_t endBytes = single ? 0 : 2 * std::size_t{count};
    if (count == 0 || (single && (count != 1 || bytes <= longest_)) ||
        (!single && bytes + endBytes > pageBytes_) ||
        size_ + count >= std::size_t{std::numeric_limits<std::uint32_t>::max()}) {
        return false;
    }
    Page page = makePage(single ? bytes : pageBytes_);
    page.single = single;
    page.count = count;
    page.bytes = bytes;
    if (!read(page.data.get(), page.data.get() + page.capacity - endBytes)) {
        return false;
    }
    if (!single) {
        // Each end after the one before, no word too long to share a page,
        // the last one ending the codes.
        std::uint32_t begin = 0;
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::uint32_t end = page.endOf(k);
            if (end < begin || end - begin > longest_) {
                return false;
            }
            begin = end;
        }
        if (begin != bytes) {
            return false;
        }
    }
    pages_.push_back(std::move(page));
    firsts_.push_back(size_);
    size_ += count;
    return true;
}

std::size_t WordStore::allocatedBytes() const {
    std::size_t bytes = 0;
    for (const Page& page : pages_) {
        bytes += page.capacity + kSlack;
    }
    return bytes + pages_.capacity() * sizeof(Page) + firsts_.capacity() * sizeof(std::size_t);
}

} // namespace tavelin
