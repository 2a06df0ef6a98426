// Shared pieces of the storage tests: a temporary settings folder, menu choices that record, the core application.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

#include "ProfileFile.h"
#include "SavedGames.h"
#include "support/Scripted.h"

namespace kazoomba::testing {

struct RecordingMenus : MenuSelections {
    int speed = 1;
    int banner = 0;
    std::vector<std::string> calls;
    int SpeedIndex() const override { return speed; }
    int BannerIndex() const override { return banner; }
    void SetSpinSpeed(int index) override { speed = index; calls.push_back("speed " + std::to_string(index)); }
    void SetBanner(int index) override { banner = index; calls.push_back("banner " + std::to_string(index)); }
};

// The application object that child processes need; a window test's own application serves as well.
inline QCoreApplication& CoreApp() {
    if (QCoreApplication* app = QCoreApplication::instance()) return *app;
    static int argc = 1;
    static char name[] = "kazoomba-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return *app;
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A settings file in a folder of its own, and a game started as the program starts one.
class SettingsFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile file{path};
    Table table;
    RecordingMenus menus;
    GameState& s() { return GameDoor::State(table.game); }
    QString Read(const QString& section, const QString& key, int limit = 1000) {
        return file.ReadString(section, key, QStringLiteral("<missing>"), limit);
    }
};

}  // namespace kazoomba::testing
