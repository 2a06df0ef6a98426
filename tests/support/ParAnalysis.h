// The machine's analysis (rule tables, line odds, the solved board), made once for the whole test program
// and shared by every file of it.
#pragma once

#include "ParSheet.h"

namespace kazoomba::par::test {

inline const Analysis& TheAnalysis() {
    static const Analysis analysis;
    return analysis;
}

}  // namespace kazoomba::par::test
