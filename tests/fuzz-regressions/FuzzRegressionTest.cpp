// Replays through the fuzz targets their seed inputs (fuzz/corpus/TARGET) and
// every input a fuzzer once failed on (fuzz-regressions/TARGET, each named
// after the fault). A failed check of the target fails the test with the
// input's name; under the sanitizer build a memory fault stops it.
#include "FuzzCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

using namespace tavelin::fuzz;

namespace {

using Target = int (*)(const uint8_t*, size_t);

std::vector<std::filesystem::path> inputsOf(const std::string& target) {
    std::vector<std::filesystem::path> inputs;
    for (const std::filesystem::path& folder :
         {std::filesystem::path(TAVELIN_FUZZ_CORPUS) / target,
          std::filesystem::path(TAVELIN_FUZZ_REGRESSIONS) / target}) {
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

void replay(const std::string& target, Target run) {
    const auto inputs = inputsOf(target);
    ASSERT_GE(inputs.size(), 3u) << "the seeds of " << target << " are missing";
    throwOnFailure(true);
    for (const auto& input : inputs) {
        const std::string bytes = readBytes(input.string());
        try {
            run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        } catch (const CheckFailure& failure) {
            ADD_FAILURE() << input.string() << ":\n" << failure.message;
        }
    }
    throwOnFailure(false);
}

} // namespace

TEST(FuzzRegressions, IniReaderAndWriter) {
    replay("ini", fuzzIni);
}

TEST(FuzzRegressions, TsvImporter) {
    replay("tsv", fuzzTsv);
}

TEST(FuzzRegressions, Codecs) {
    replay("codecs", fuzzCodecs);
}
