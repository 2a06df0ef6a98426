// The assembled game: the hooks reach the settings file, and the machine coming on never writes over the
// game it is about to restore.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "Assembly.h"
#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "storage/StorageSupport.h"
#include "support/QtApp.h"

using namespace kazoomba;

TEST(Assembly, TheGameSavedAtExitComesBackAndIsNotOverwrittenByTheStartUpGame) {
    kazoomba::testing::App();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    kazoomba::testing::WriteBytes(path, "[Current Game]\r\nGameName=Current Game Settings\r\nCredits=1234.50\r\n"
                              "Borrowed=1000\r\nSpins=7\r\n");
    ProfileFile settings(path);
    kazoomba::testing::ScriptedRandom random;
    ui::Graphics graphics(1.0);
    ui::Sound sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
    app::Assembly assembly(settings, graphics, sound, random);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());

    // The machine comes on with a new game of 1000 credits; only the restore may decide what is kept.
    window.StartUp();
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1234.50"));
    assembly.RestoreAtStart(window);
    EXPECT_FLOAT_EQ(window.game().State().Credits, 1234.5f);
    EXPECT_EQ(window.game().State().Spins, 7);

    // From then on every change to the bank is written at once, through the menu item itself.
    window.menus().borrow[4]->trigger();
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1284.50"));
}

TEST(Assembly, EveryMenuItemWithAWindowElsewhereIsConnected) {
    kazoomba::testing::App();
    QTemporaryDir dir;
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    kazoomba::testing::ScriptedRandom random;
    ui::Graphics graphics(1.0);
    ui::Sound sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
    app::Assembly assembly(settings, graphics, sound, random);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    const ui::MachineMenus& m = window.menus();
    for (QAction* item : {m.load, m.save, m.statistics, m.about, m.manual, m.payChart})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}
