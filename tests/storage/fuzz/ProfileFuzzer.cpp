// libFuzzer entry: arbitrary bytes as the settings file, through the reader, the writer and LoadGame.
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "storage/FeedProfileBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // On a memory file system the writes' syncs cost nothing, so the fuzzer keeps its pace.
    static QTemporaryDir folder(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/kazoomba-fuzz-XXXXXX")
                                                           : QDir::tempPath() + QStringLiteral("/kazoomba-fuzz-XXXXXX"));
    const std::string fault = kazoomba::testing::FeedProfileBytes(data, size, folder.path());
    if (!fault.empty()) {
        std::fprintf(stderr, "settings file fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
