// libFuzzer entry: arbitrary bytes as the settings file's text, through the profile rules alone, in memory.
#include <cstdio>
#include <cstdlib>

#include "storage/FeedProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The first byte picks the key to write, so every input costs one write and its checks.
    const std::string fault = kazoomba::testing::FeedProfileText(text, size ? data[0] : 0);
    if (!fault.empty()) {
        std::fprintf(stderr, "settings text fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
