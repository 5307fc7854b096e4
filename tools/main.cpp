#include "DictTool.h"
#include "Version.h"

#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::find(arguments.begin(), arguments.end(), "--version") != arguments.end()) {
        std::cout << "tavelin-dict " << tavelin::kVersion << '\n' << std::flush;
        return std::cout ? 0 : 2;
    }
    return tavelin::runDictTool(arguments, std::cout, std::cerr);
}
