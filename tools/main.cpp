#include "DictTool.h"
#include "Version.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

namespace {

// Standard output is closed before the end, so that a failure only the
// closing reports (a file system that writes late) is an error too.
int closeStandardOutput(int status) {
    errno = 0;
    std::cout.flush();
    const bool written = static_cast<bool>(std::cout);
    if (written && (::close(STDOUT_FILENO) == 0 || errno == EBADF)) {
        return status;
    }
    if (status != 2) { // an error before this one has already been told
        std::cerr << "tavelin-dict: standard output: "
                  << (errno != 0 ? std::strerror(errno) : "cannot write") << "\n";
    }
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit (ulimit -f) then makes a write fail, as a full disk
    // does, rather than ending the program before it can say so.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::find(arguments.begin(), arguments.end(), "--version") != arguments.end()) {
        std::cout << "tavelin-dict " << tavelin::kVersion << '\n';
        return closeStandardOutput(0);
    }
    return closeStandardOutput(tavelin::runDictTool(arguments, std::cout, std::cerr));
}
