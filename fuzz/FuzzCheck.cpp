#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace tavelin::fuzz {
namespace {

bool throwing = false;

class Scratch {
public:
    static Scratch* current;

    Scratch() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/tavelin-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("tavelin fuzz: cannot make a scratch directory");
            std::abort();
        }
        path_ = pattern;
        current = this;
    }
    ~Scratch() {
        remove();
        current = nullptr;
    }
    void remove() const {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

Scratch* Scratch::current = nullptr;

} // namespace

void throwOnFailure(bool on) {
    throwing = on;
}

void fail(const char* condition, const char* file, int line, const std::string& what) {
    std::ostringstream message;
    message << file << ":" << line << ": check failed: " << condition << "\n" << what;
    if (throwing) {
        throw CheckFailure{message.str()};
    }
    std::fprintf(stderr, "\n%s\n", message.str().c_str());
    std::fflush(stderr);
    removeScratchDirectory();
    std::abort();
}

void removeScratchDirectory() {
    if (Scratch::current != nullptr) {
        Scratch::current->remove();
    }
}

const std::string& scratchDirectory() {
    static const Scratch scratch;
    return scratch.path();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string_view takeField(std::string_view& rest, char separator) {
    const size_t at = rest.find(separator);
    const std::string_view field = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
    return field;
}

} // namespace tavelin::fuzz
