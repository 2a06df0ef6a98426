// A small program the storage tests run in a child process: one read or write, or saving games until killed.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "storage/ProfileFile.h"
#include "storage/SavedGames.h"
#include "../LoopGame.h"
#include "support/Scripted.h"

using namespace kazoomba;

namespace {

struct FixedMenus : MenuSelections {
    int speed = 1, banner = 0;
    int SpeedIndex() const override { return speed; }
    int BannerIndex() const override { return banner; }
    void SetSpinSpeed(int index) override { speed = index; }
    void SetBanner(int index) override { banner = index; }
};

void SaveLoop(const QString& path, int first) {
    testing::Table table;
    FixedMenus menus;
    ProfileFile file(path);
    for (int k = first;; ++k) {
        testing::SetLoopGame(table.game, menus, k);
        SaveGame(file, table.game, menus, kCurrentGameSlot, testing::LoopGameName(k));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "save-loop") {
        SaveLoop(args[2], args[3].toInt());
        return 0;
    }
    if (args.size() == 5 && args[1] == "read") {
        const QString value = ProfileFile(args[2]).ReadString(args[3], args[4], QStringLiteral("<default>"), 100000);
        std::fputs(value.toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 6 && args[1] == "write") return ProfileFile(args[2]).WriteString(args[3], args[4], args[5]) ? 0 : 1;
    std::fprintf(stderr, "usage: %s save-loop PATH FIRST | read PATH SECTION KEY | write PATH SECTION KEY VALUE\n", argv[0]);
    return 2;
}
