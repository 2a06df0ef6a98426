// Where the game looks for its art, sounds and manual: the data folder it was configured with (beside an
// installed program, or a distribution's absolute path), the source tree for a program whose build-tree
// marker names it, then the desktop's data folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/QtApp.h"
#include "art/DataPaths.h"

using kazoomba::ui::FindDataDirectory;

namespace {

const QString kBesideProgram = QStringLiteral("../share/kazoomba");

class DataPathsTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString Make(const QString& relative) {
        const QString path = temp.path() + QLatin1Char('/') + relative;
        EXPECT_TRUE(QDir().mkpath(path));
        return QDir(path).canonicalPath();
    }
    QString Data(const QString& prefix) { return QDir(Make(prefix + QStringLiteral("/share/kazoomba/art")) + QStringLiteral("/..")).canonicalPath(); }
    // A program folder of a build, with the marker naming the source tree's data.
    QString BuildProgramDir(const QString& relative, const QString& sourceData) {
        const QString dir = Make(relative);
        QFile marker(dir + QLatin1Char('/') + QLatin1String(kazoomba::ui::kBuildTreeMarker));
        EXPECT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.write(sourceData.toUtf8() + '\n');
        return dir;
    }
};

TEST_F(DataPathsTest, AnInstalledGameUsesTheShareFolderBesideItsOwn) {
    const QString system = Data(QStringLiteral("usr"));
    const QString home = Data(QStringLiteral("home/.local"));
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("usr/games")), kBesideProgram, {home}), system);
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("home/.local/games")), kBesideProgram, {}), home);
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("home/.local/bin")), kBesideProgram, {}), home);
}

TEST_F(DataPathsTest, ADistributionsAbsoluteDataFolderIsUsedWhereverTheProgramIs) {
    const QString system = Data(QStringLiteral("usr"));
    const QString home = Data(QStringLiteral("home/.local"));
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("usr/games")), system, {}), system);
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("home/.local/games")), system, {}), system);
}

TEST_F(DataPathsTest, AGameInItsBuildTreeUsesTheSourceTreeOverAnInstalledCopy) {
    const QString source = QDir(Make(QStringLiteral("src/resources/art")) + QStringLiteral("/..")).canonicalPath();
    const QString installed = Data(QStringLiteral("usr"));
    const QString program = BuildProgramDir(QStringLiteral("src/build/src/app"), source);
    EXPECT_EQ(FindDataDirectory(program, installed, {installed + QStringLiteral("/..")}), source);
}

TEST_F(DataPathsTest, WithoutTheMarkerAProgramInsideASourceTreeIgnoresIt) {
    // The old rule trusted any program under a compiled-in build folder; now only the marker counts.
    Make(QStringLiteral("src/resources/art"));
    const QString system = Data(QStringLiteral("usr"));
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("src/build/src/app")), system, {}), system);
}

TEST_F(DataPathsTest, AMarkerNamingAGoneSourceTreeFallsBackToTheInstalledData) {
    const QString system = Data(QStringLiteral("usr"));
    const QString program = BuildProgramDir(QStringLiteral("build/src/app"), temp.path() + QStringLiteral("/gone"));
    EXPECT_EQ(FindDataDirectory(program, system, {}), system);
}

TEST_F(DataPathsTest, AGameElsewhereFindsItsDataInTheDesktopsDataFolders) {
    const QString home = Data(QStringLiteral("home/.local"));
    const QString system = Data(QStringLiteral("usr"));
    const QStringList dataDirs = {temp.path() + QStringLiteral("/nowhere"), home + QStringLiteral("/.."),
                                  system + QStringLiteral("/..")};
    const QString program = Make(QStringLiteral("opt/kazoomba"));
    EXPECT_EQ(FindDataDirectory(program, kBesideProgram, dataDirs), home);
    // Nothing anywhere: the configured folder, so the warning names the one place the data belongs.
    EXPECT_EQ(FindDataDirectory(program, kBesideProgram, {}), QDir::cleanPath(program + QStringLiteral("/../share/kazoomba")));
    const QString marked = BuildProgramDir(QStringLiteral("build/app"), temp.path() + QStringLiteral("/gone"));
    EXPECT_EQ(FindDataDirectory(marked, kBesideProgram, {}), temp.path() + QStringLiteral("/gone"));
}

TEST(DataPaths, ATestProgramOfTheBuildReadsTheSourceTreesData) {
    kazoomba::testing::App();
    EXPECT_EQ(kazoomba::ui::DataDirectory(), QDir(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources")).canonicalPath());
}

}  // namespace
