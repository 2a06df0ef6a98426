// The comma-decimal locales the number tests play under. The project's set-up makes them; a package
// build on a bare system may not have them, and there those tests are skipped rather than failed.
#pragma once

#include <clocale>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace kazoomba::testing {

inline constexpr std::initializer_list<const char*> kCommaLocales = {"de_DE.UTF-8", "fr_FR.UTF-8"};

// The first of the comma-decimal locales this system cannot set, or null when it has them all.
inline const char* MissingCommaLocale() {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* missing = nullptr;
    for (const char* name : kCommaLocales)
        if (!missing && !std::setlocale(LC_NUMERIC, name)) missing = name;
    std::setlocale(LC_NUMERIC, before.c_str());
    return missing;
}

// Where the project's own runs ask for them (scripts/test, the CTest presets), a missing locale fails.
inline bool CommaLocalesRequired() { return std::getenv("KAZOOMBA_LOCALES_REQUIRED") != nullptr; }

}  // namespace kazoomba::testing

// At the start of a test that plays under the comma-decimal locales.
#define KAZOOMBA_NEEDS_COMMA_LOCALES()                                                                    \
    if (const char* missing = ::kazoomba::testing::MissingCommaLocale()) {                                \
        if (::kazoomba::testing::CommaLocalesRequired()) FAIL() << missing << " is missing: run scripts/setup"; \
        GTEST_SKIP() << missing << " is not installed on this system";                                    \
    }
