// libFuzzer's entry points for one fuzz target, named by TAVELIN_FUZZ_TARGET.
#include "FuzzCheck.h"

#include <sanitizer/common_interface_defs.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A sanitizer report ends the process without running destructors.
    __sanitizer_set_death_callback(tavelin::fuzz::removeScratchDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tavelin::fuzz::TAVELIN_FUZZ_TARGET(data, size);
}
