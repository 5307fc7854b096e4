#pragma once

// What the fuzz targets share: a check that stops the run with a message, and
// a scratch directory for the files a target writes.
//
// Under libFuzzer a failed check aborts, so that libFuzzer keeps the input as a
// crash. The regression tests replay kept inputs through the same targets and
// turn a failed check into an exception they report.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavelin::fuzz {

// Raised by a failed check once throwing is switched on; deliberately not a
// std::exception, so that no handler in the code under test swallows it.
struct CheckFailure {
    std::string message;
};

// Off (the default): a failed check prints its message and aborts.
void throwOnFailure(bool on);

[[noreturn]] void fail(const char* condition, const char* file, int line, const std::string& what);

// A directory of this process under $TMPDIR (or /tmp), made on first use and
// removed with its contents when the process ends normally.
const std::string& scratchDirectory();
// Removes it at once, for a run that ends without returning from main.
void removeScratchDirectory();

// Writes bytes to a file, replacing it; reads a whole file ("" when missing).
void writeBytes(const std::string& path, std::string_view bytes);
std::string readBytes(const std::string& path);

// Splits off the text up to the first `separator`; `rest` keeps what follows.
// Without a separator the whole of `rest` is taken.
std::string_view takeField(std::string_view& rest, char separator);

// The fuzz targets: each takes one input, returns 0, and fails a check when
// the code under test misbehaves.
int fuzzIni(const uint8_t* data, size_t size);
int fuzzTsv(const uint8_t* data, size_t size);
int fuzzCodecs(const uint8_t* data, size_t size);

} // namespace tavelin::fuzz

// Stops the run unless the condition holds; `what` (a std::string) says what
// was being checked, with the values involved.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::tavelin::fuzz::fail(#condition, __FILE__, __LINE__, (what));                         \
        }                                                                                          \
    } while (false)
