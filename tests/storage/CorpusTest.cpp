// The fuzzer's corpus of bad settings files, replayed on every test run.
#include <QDirIterator>
#include <gtest/gtest.h>

#include "FeedProfileBytes.h"
#include "StorageSupport.h"

namespace kazoomba::testing {
namespace {

TEST(Corpus, EveryBadSettingsFileKeepsTheGamePlayable) {
    QDir corpus(QStringLiteral(KAZOOMBA_CORPUS_DIR));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 10);
    for (const QString& name : names) {
        const QByteArray bytes = ReadBytes(corpus.filePath(name));
        QTemporaryDir dir;
        EXPECT_EQ(FeedProfileBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()), dir.path()),
                  "")
            << name.toStdString();
    }
}

}  // namespace
}  // namespace kazoomba::testing
