#pragma once

#include <stdexcept>
#include <string>

namespace tavelin {

// A failure reported by the storage engine: its error number and text.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(int code, const std::string& text)
        : std::runtime_error(text), code_(code), text_(text) {}

    int code() const { return code_; }
    const std::string& text() const { return text_; }

private:
    int code_;
    std::string text_;
};

} // namespace tavelin
