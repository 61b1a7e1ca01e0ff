// libFuzzer target for the Rich Text reader: any input must keep the
// properties of CheckRtfReader; a broken one aborts with its reason.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/rtf_reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        kestrum::test::CheckRtfReader(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "RTF reader property broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
