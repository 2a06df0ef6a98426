// The start-up check of the settings file.
#include "SettingsAtStart.h"

#include "ProfileFile.h"
#include "SessionGuard.h"
#include "dialogs/UnusableSettings.h"

namespace kazoomba {

bool CheckSettingsFileAtStart(ProfileFile& settings) {
    const QString why = settings.CheckAtStart();
    if (why.isEmpty()) return true;
    return ShowUntilSignal([&] { TellSettingsFileUnusable(why, nullptr); }) == 0;
}

}  // namespace kazoomba
