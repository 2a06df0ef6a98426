// The line rule of both reel sets.
#include "engine/Payoffs.h"

namespace kazoomba {
namespace {
bool IsBar(Symbol s) { return s == TripleBar || s == DoubleBar || s == SingleBar; }
}  // namespace

LineOutcome EvaluateLine(Symbol s1, Symbol s2, Symbol s3, bool bonusMode) {
    LineOutcome out;
    if (bonusMode) {
        if (s1 == s2 && s2 == s3) {
            switch (s1) {
                case Target: out.pay = BonusPayoffs[0]; break;
                case TripleBar: out.pay = BonusPayoffs[1]; break;
                case DoubleBar: out.pay = BonusPayoffs[2]; break;
                case SingleBar: out.pay = BonusPayoffs[3]; break;
                default: break;
            }
        }
        if (out.pay == 0 && IsBar(s1) && IsBar(s2) && IsBar(s3)) out.pay = BonusPayoffs[4];
        if (out.pay > 0) out.code = s1;
        return out;
    }

    const int wild = (s1 == Fulmina) + (s2 == Fulmina) + (s3 == Fulmina);
    if (wild == 3) {
        out.pay = RegularPayoffs[0];
        out.code = Fulmina;
        return out;  // three FULMINA are not multiplied
    }
    for (Symbol k = Target; k <= DontWalk; ++k) {
        auto fits = [k](Symbol s) { return s == k || s == Fulmina; };
        if (fits(s1) && fits(s2) && fits(s3)) {
            out.pay = RegularPayoffs[k];
            out.code = k;
            break;
        }
    }
    if (out.pay > 0 && wild == 1) out.pay = static_cast<std::int16_t>(out.pay * 2);
    if (out.pay > 0 && wild == 2) out.pay = static_cast<std::int16_t>(out.pay * 4);
    return out;
}

}  // namespace kazoomba
