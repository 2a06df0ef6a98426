// The writer of the game's saves: snapshots in order, a newer one in place of a plain one still waiting,
// a guarding one never replaced, reports in the window's thread, and the file as the last snapshot left it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "SaveWriter.h"
#include "storage/StorageSupport.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

SaveJob Job(const char* credits, bool guard, std::vector<std::string>* answered = nullptr) {
    SaveJob job{{{QStringLiteral("Current Game"), QStringLiteral("Credits"), QString::fromLatin1(credits)}}, guard, {}, {}};
    if (answered) job.done.push_back([answered, credits](bool, const QString&) { answered->push_back(credits); });
    return job;
}

QString CreditsOf(const SaveJob& job) { return job.writes.front().value; }

}  // namespace

TEST(SaveQueue, ANewerSnapshotTakesThePlaceOfAPlainOneWaitingButNeverOfOneThatGuards) {
    SaveQueue q;
    std::vector<std::string> answered;
    q.Push(Job("1.00", false, &answered));
    q.Push(Job("2.00", false, &answered));  // replaces 1.00, answering for both
    ASSERT_EQ(q.Size(), 1u);
    q.Push(Job("3.00", true, &answered));  // a guarding one replaces a plain one, and guards
    ASSERT_EQ(q.Size(), 1u);
    q.Push(Job("4.00", false, &answered));  // the guarding one stays: this comes after it
    q.Push(Job("5.00", true, &answered));   // replaces 4.00 and guards
    q.Push(Job("6.00", true, &answered));   // never in place of a guarding one
    ASSERT_EQ(q.Size(), 3u);

    SaveJob first = q.Pop();
    EXPECT_EQ(CreditsOf(first), "3.00");
    EXPECT_TRUE(first.guard);
    EXPECT_EQ(first.done.size(), 3u) << "the writes it replaced are answered by it";
    SaveJob second = q.Pop();
    EXPECT_EQ(CreditsOf(second), "5.00");
    EXPECT_TRUE(second.guard);
    EXPECT_EQ(second.done.size(), 2u);
    EXPECT_EQ(CreditsOf(q.Pop()), "6.00");
    EXPECT_TRUE(q.Empty());
    for (auto& d : first.done) d(true, {});
    EXPECT_EQ(answered, (std::vector<std::string>{"1.00", "2.00", "3.00"}));
}

TEST(SaveWriter, WritesInOrderAndReportsInTheThreadThatMadeIt) {
    CoreApp();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile file(path);
    std::vector<std::pair<bool, QString>> reports;
    {
        SaveWriter writer(file);
        for (const char* credits : {"10.00", "20.00", "30.00"})
            writer.Submit({{QStringLiteral("Current Game"), QStringLiteral("Credits"), QString::fromLatin1(credits)}},
                          true, [&reports](bool ok, const QString& why) { reports.push_back({ok, why}); });
        writer.Finish();
        EXPECT_TRUE(reports.empty()) << "reported outside the window's own events";
        EXPECT_EQ(file.ReadString(u"Current Game", u"Credits", QString(), 100), QStringLiteral("30.00"));
        QCoreApplication::processEvents();
        ASSERT_EQ(reports.size(), 3u) << "each guarding save answers for itself";
        for (const auto& [ok, why] : reports) EXPECT_TRUE(ok && why.isEmpty());

        // A file that cannot be written is reported as such, with the reason, and the old one stays.
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QDir().mkpath(path));
        writer.Submit({{QStringLiteral("Current Game"), QStringLiteral("Credits"), QStringLiteral("40.00")}}, false,
                      [&reports](bool ok, const QString& why) { reports.push_back({ok, why}); });
        writer.Finish();
        QCoreApplication::processEvents();
        ASSERT_EQ(reports.size(), 4u);
        EXPECT_FALSE(reports.back().first);
        EXPECT_TRUE(reports.back().second.contains(path)) << reports.back().second.toStdString();
    }
}

TEST(SaveWriter, WhatIsSubmittedIsWrittenBeforeTheWriterGoes) {
    CoreApp();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile file(path);
    {
        SaveWriter writer(file);
        writer.Submit({{QStringLiteral("Current Game"), QStringLiteral("Spins"), QStringLiteral("12")}}, false, {});
    }
    EXPECT_EQ(file.ReadString(u"Current Game", u"Spins", QString(), 100), QStringLiteral("12"));
}
