// libFuzzer entry: arbitrary bytes as the settings file on disk, through LoadGame, SaveGame and the start-up reads.
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "storage/FeedProfileBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // On a memory file system the writes' syncs cost nothing, so the fuzzer keeps its pace.
    static QTemporaryDir folder(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/kazoomba-fuzz-XXXXXX")
                                                           : QDir::tempPath() + QStringLiteral("/kazoomba-fuzz-XXXXXX"));
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::string fault = kazoomba::testing::FeedProfileFile(text, folder.path());
    if (!fault.empty()) {
        std::fprintf(stderr, "settings file fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
