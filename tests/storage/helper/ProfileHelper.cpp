// A small program the storage tests run in a child process: one read or write, or saving games until killed.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "ProfileFile.h"
#include "SavedGames.h"
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
        // Tells the test the program is up and saving, so its kill lands among the saves, not before them.
        if (k == first) {
            std::fputs("saving\n", stdout);
            std::fflush(stdout);
        }
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
    if (args.size() == 3 && args[1] == "check") {
        // What a start says of the file, then what a save says.
        ProfileFile file(args[2]);
        const QString why = file.CheckAtStart();
        const bool saved = file.WriteString(QStringLiteral("Settings"), QStringLiteral("LeftPos"), QStringLiteral("1"));
        std::fputs((why + QStringLiteral("|") + (saved ? QString() : file.LastError())).toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 6 && args[1] == "write") {
        ProfileFile file(args[2]);
        if (file.WriteString(args[3], args[4], args[5])) return 0;
        std::fputs(file.LastError().toUtf8().constData(), stdout);  // why, for the test to check
        return 1;
    }
    if (args.size() == 5 && args[1] == "write-many") {
        // Keys PREFIX0 to PREFIX(COUNT-1), one rewrite of the file each; the exit code counts failures.
        ProfileFile file(args[2]);
        int failed = 0;
        for (int i = 0; i < args[4].toInt(); ++i)
            if (!file.WriteString(QStringLiteral("Keys"), args[3] + QString::number(i), QString::number(i))) ++failed;
        return failed > 100 ? 100 : failed;
    }
    std::fprintf(stderr, "usage: %s save-loop PATH FIRST | read PATH SECTION KEY | write PATH SECTION KEY VALUE | "
                         "write-many PATH PREFIX COUNT | check PATH\n", argv[0]);
    return 2;
}
