// Where the game looks for its art, sounds and manual: beside an installed program (/usr/games or
// ~/.local/games next to share/), the source tree for a program in its build tree, then the desktop's data
// folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "art/DataPaths.h"

using kazoomba::ui::FindDataDirectory;

namespace {

class DataPathsTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString Make(const QString& relative) {
        const QString path = temp.path() + QLatin1Char('/') + relative;
        EXPECT_TRUE(QDir().mkpath(path));
        return QDir(path).canonicalPath();
    }
    QString Data(const QString& prefix) { return QDir(Make(prefix + QStringLiteral("/share/kazoomba/art")) + QStringLiteral("/..")).canonicalPath(); }
};

TEST_F(DataPathsTest, AnInstalledGameUsesTheShareFolderBesideItsOwn) {
    const QString source = QDir(Make(QStringLiteral("src/resources/art")) + QStringLiteral("/../..")).canonicalPath();
    const QString build = Make(QStringLiteral("src/build"));
    const QString system = Data(QStringLiteral("usr"));
    const QString home = Data(QStringLiteral("home/.local"));
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("usr/games")), build, source, {home}), system);
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("home/.local/games")), build, source, {}), home);
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("home/.local/bin")), build, source, {}), home);
}

TEST_F(DataPathsTest, AGameInItsBuildTreeUsesTheSourceTreeOverAnInstalledCopy) {
    const QString source = QDir(Make(QStringLiteral("src/resources/art")) + QStringLiteral("/../..")).canonicalPath();
    const QString build = Make(QStringLiteral("src/build"));
    const QString installed = Data(QStringLiteral("usr"));
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("src/build/src/app")), build, source, {installed + QStringLiteral("/..")}),
              source + QStringLiteral("/resources"));
}

TEST_F(DataPathsTest, AGameElsewhereFindsItsDataInTheDesktopsDataFolders) {
    const QString source = Make(QStringLiteral("gone"));
    const QString home = Data(QStringLiteral("home/.local"));
    const QString system = Data(QStringLiteral("usr"));
    const QStringList dataDirs = {temp.path() + QStringLiteral("/nowhere"), home + QStringLiteral("/.."),
                                  system + QStringLiteral("/..")};
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("opt/kazoomba")), Make(QStringLiteral("build")), source, dataDirs), home);
    // Nothing anywhere: the source tree's folder, so the warning names a place a developer knows.
    EXPECT_EQ(FindDataDirectory(Make(QStringLiteral("opt/kazoomba")), Make(QStringLiteral("build")), source, {}),
              source + QStringLiteral("/resources"));
}

}  // namespace
