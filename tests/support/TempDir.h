#pragma once

#include <filesystem>
#include <string>

namespace tavelin::test {

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

} // namespace tavelin::test
