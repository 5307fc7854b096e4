#include "ListSnapshot.h"

#include "main_window/WordListModel.h"
#include "text/CharacterSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace tavelin {
namespace {

// The first bytes of a copy; the last digit counts the layouts there were.
constexpr char kMagic[8] = {'T', 'V', 'L', 'L', 'I', 'S', 'T', '1'};
// A change now shows in a file's times once they are this far behind.
constexpr std::int64_t kSettledNanoseconds = 2'000'000'000;

// ---- A checksum of all the copy holds, fast enough to run over it whole ----

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;

std::uint64_t eightBytes(const char* at) {
    std::uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint64_t round(std::uint64_t lane, std::uint64_t input) {
    return std::rotl(lane + input * kPrime2, 31) * kPrime1;
}

// Goes on from `seed` over the bytes: four lanes of eight bytes at a time,
// then the rest, then mixed through.
std::uint64_t checksum(std::uint64_t seed, const char* bytes, std::size_t size) {
    std::uint64_t h;
    const char* at = bytes;
    std::size_t left = size;
    if (left >= 32) {
        std::array<std::uint64_t, 4> lanes = {seed + kPrime1 + kPrime2, seed + kPrime2, seed,
                                              seed - kPrime1};
        while (left >= 32) {
            for (std::size_t i = 0; i < lanes.size(); ++i) {
                lanes[i] = round(lanes[i], eightBytes(at + 8 * i));
            }
            at += 32;
            left -= 32;
        }
        h = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) +
            std::rotl(lanes[3], 18);
    } else {
        h = seed + kPrime3;
    }
    h += size;
    while (left >= 8) {
        h = std::rotl(h ^ round(0, eightBytes(at)), 27) * kPrime1 + kPrime3;
        at += 8;
        left -= 8;
    }
    while (left > 0) {
        h = std::rotl(h ^ (static_cast<unsigned char>(*at) * kPrime3), 11) * kPrime1;
        ++at;
        --left;
    }
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    return h ^ (h >> 32);
}

// What the lists' order rests on: every code's weight and case in each
// side's character set. A program that orders words otherwise reads the
// lists from the dictionary.
std::uint64_t orderKey() {
    static const std::uint64_t key = [] {
        std::string weights;
        for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
            const CharacterSet& set = CharacterSet::of(side);
            for (int code = 0; code < 256; ++code) {
                weights += static_cast<char>(set.weight(static_cast<unsigned char>(code)));
                weights += static_cast<char>(set.fold(static_cast<unsigned char>(code)));
            }
        }
        return checksum(0, weights.data(), weights.size());
    }();
    return key;
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::string cacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache) + "/tavelin";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache/tavelin";
    }
    return {};
}

// ---- Writing and reading, each byte through the checksum ----

class Writer {
public:
    explicit Writer(int fd) : fd_(fd) {}

    template <typename T> void put(const T& value) {
        put(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void put(const char* bytes, std::size_t size) {
        if (size == 0) {
            return;
        }
        sum_ = checksum(sum_, bytes, size);
        raw(bytes, size);
    }
    void finish() {
        const std::uint64_t sum = sum_;
        raw(reinterpret_cast<const char*>(&sum), sizeof sum);
    }
    bool ok() const { return ok_; }

private:
    void raw(const char* bytes, std::size_t size) {
        while (ok_ && size > 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                ok_ = false;
                return;
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    int fd_;
    std::uint64_t sum_ = 0;
    bool ok_ = true;
};

class Reader {
public:
    explicit Reader(int fd) : fd_(fd) {}

    template <typename T> bool get(T& value) {
        return get(reinterpret_cast<char*>(&value), sizeof value);
    }
    bool get(char* bytes, std::size_t size) {
        if (size == 0) {
            return true;
        }
        if (!raw(bytes, size)) {
            return false;
        }
        sum_ = checksum(sum_, bytes, size);
        return true;
    }
    // The checksum at the end, and nothing after it.
    bool whole() {
        std::uint64_t sum = 0;
        char extra = 0;
        return raw(reinterpret_cast<char*>(&sum), sizeof sum) && sum == sum_ && !raw(&extra, 1);
    }

private:
    bool raw(char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::read(fd_, bytes, size);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int fd_;
    std::uint64_t sum_ = 0;
};

// What the copy says of itself before its lists.
struct Header {
    char magic[8];
    std::uint64_t order;
    DictionaryState state;
    std::uint64_t pathBytes;
};

Header headerFor(const DictionaryState& state, const std::string& dictionary) {
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.order = orderKey();
    header.state = state;
    header.pathBytes = dictionary.size();
    return header;
}

// Fields of fixed widths and no padding, so that every byte is written.
struct ListHeader {
    std::uint64_t ordered;
    std::uint64_t words;
    std::uint64_t pages;
};

struct PageHeader {
    std::uint32_t count;
    std::uint32_t bytes;
    std::uint32_t single;
};

static_assert(sizeof(Header) == 8 + 8 + sizeof(DictionaryState) + 8);
static_assert(sizeof(ListHeader) == 24 && sizeof(PageHeader) == 12);

void writeList(Writer& out, const WordListModel& list) {
    const WordStore& store = list.store();
    out.put(ListHeader{list.inDictionaryOrder() ? 1U : 0U, store.size(), store.pageCount()});
    for (std::size_t p = 0; p < store.pageCount() && out.ok(); ++p) {
        const WordStore::PageImage page = store.page(p);
        out.put(PageHeader{page.count, static_cast<std::uint32_t>(page.codes.size()),
                           page.single ? 1U : 0U});
        out.put(page.codes.data(), page.codes.size());
        out.put(page.ends.data(), page.ends.size());
    }
}

// `longest` bounds what a page may claim: no more than the copy holds.
bool readList(Reader& in, WordListModel& list, std::uint64_t longest) {
    return list.fillFromPages([&in, longest](WordStore& store, bool& ordered) {
        ListHeader header{};
        if (!in.get(header) || header.ordered > 1) {
            return false;
        }
        ordered = header.ordered == 1;
        for (std::uint64_t p = 0; p < header.pages; ++p) {
            PageHeader page{};
            if (!in.get(page) || page.single > 1 || page.bytes > longest ||
                !store.appendPage(
                    page.single == 1, page.count, page.bytes, [&](char* codes, char* ends) {
                        return in.get(codes, page.bytes) &&
                               (page.single == 1 || in.get(ends, 2 * std::size_t{page.count}));
                    })) {
                return false;
            }
        }
        return store.size() == header.words;
    });
}

// Empties a list filled in part.
void empty(WordListModel& list) {
    list.fillFromPages([](WordStore&, bool&) { return false; });
}

class File {
public:
    explicit File(int fd) : fd_(fd) {}
    ~File() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    int fd() const { return fd_; }
    // Closes it now; false when the system reports a failure.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

} // namespace

std::optional<DictionaryState> DictionaryState::of(const std::string& path) {
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) {
        return std::nullopt;
    }
    DictionaryState state;
    state.device = file.st_dev;
    state.inode = file.st_ino;
    state.size = static_cast<std::uint64_t>(file.st_size);
    state.modified = nanoseconds(file.st_mtim);
    state.changed = nanoseconds(file.st_ctim);
    struct stat journal {};
    if (::stat((path + "-wal").c_str(), &journal) == 0 && journal.st_size > 0) {
        state.journalInode = journal.st_ino;
        state.journalSize = static_cast<std::uint64_t>(journal.st_size);
        state.journalModified = nanoseconds(journal.st_mtim);
        state.journalChanged = nanoseconds(journal.st_ctim);
    }
    return state;
}

bool DictionaryState::settled() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t last = std::max({modified, changed, journalModified, journalChanged});
    return nanoseconds(now) - last >= kSettledNanoseconds;
}

std::string listSnapshotFolder() {
    return cacheFolder();
}

ListSnapshot::ListSnapshot(const std::string& dictionaryPath) {
    char full[PATH_MAX];
    if (::realpath(dictionaryPath.c_str(), full) == nullptr) {
        return;
    }
    dictionary_ = full;
    const std::string folder = listSnapshotFolder();
    if (folder.empty()) {
        return;
    }
    const std::string name = dictionary_.substr(dictionary_.rfind('/') + 1);
    char hash[17];
    std::snprintf(
        hash, sizeof hash, "%016llx",
        static_cast<unsigned long long>(checksum(0, dictionary_.data(), dictionary_.size())));
    path_ = folder + "/lists-" + name + "-" + hash;
}

bool ListSnapshot::read(const DictionaryState& state, WordListModel& source,
                        WordListModel& armenian) const {
    if (path_.empty()) {
        return false;
    }
    File file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.fd() < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0) {
        return false;
    }
    const auto longest = static_cast<std::uint64_t>(info.st_size);
    Reader in(file.fd());
    const Header expected = headerFor(state, dictionary_);
    Header header{};
    std::string recorded(dictionary_.size(), '\0');
    const bool same = in.get(header) && std::memcmp(&header, &expected, sizeof header) == 0 &&
                      in.get(recorded.data(), recorded.size()) && recorded == dictionary_;
    if (same && readList(in, source, longest) && readList(in, armenian, longest) && in.whole()) {
        return true;
    }
    empty(source);
    empty(armenian);
    return false;
}

void ListSnapshot::write(const DictionaryState& state, const WordListModel& source,
                         const WordListModel& armenian) const {
    if (path_.empty() || !state.settled()) {
        return;
    }
    const std::string folder = path_.substr(0, path_.rfind('/'));
    ::mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    std::string temporary = path_ + ".XXXXXX";
    File file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.fd() < 0) {
        return;
    }
    Writer out(file.fd());
    const Header header = headerFor(state, dictionary_);
    out.put(header);
    out.put(dictionary_.data(), dictionary_.size());
    writeList(out, source);
    writeList(out, armenian);
    out.finish();
    if (!out.ok() || !file.close() || ::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
    }
}

void ListSnapshotWriter::start(std::vector<Copy> copies) {
    wait();
    if (copies.empty()) {
        return;
    }
    thread_ = std::thread([copies = std::move(copies)] {
        for (const Copy& copy : copies) {
            copy.snapshot.write(copy.state, *copy.source, *copy.armenian);
        }
    });
}

void ListSnapshotWriter::wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace tavelin
