// Statistics figures and their texts.
#include "play/Statistics.h"

#include <cmath>

#include "common/NumberPicture.h"

namespace kazoomba {

namespace {
// Money moves in whole cents; the sums of 32-bit floats carry dust below a cent (a lost 8-coin spin
// at 5 cents leaves total payoffs at -0.0000244) that would show as a ratio of "-0.01%".
float Cents(float dollars) { return static_cast<float>(std::round(double(dollars) * 100.0) / 100.0); }
}  // namespace

StatisticsFigures ComputeStatistics(const GameState& s) {
    StatisticsFigures f;
    f.Spins = s.Spins;
    f.Credits = s.Credits;
    f.Borrowed = s.Borrowed;
    f.TotalWagers = s.TotalWagers;
    f.WonLost = s.Credits - s.Borrowed;
    f.TotalPayoffs = Cents(s.TotalWagers + (s.Credits - s.Borrowed));
    f.BonusPayoffs = s.CherryPts + s.PoolPts;
    f.NormalPayoffs = Cents(f.TotalPayoffs - f.BonusPayoffs - s.DoubleNothing);
    f.DoubleNothing = s.DoubleNothing;
    f.CherryPts = s.CherryPts;
    f.PoolPts = s.PoolPts;
    f.HasRatios = s.TotalWagers > 0.0f;
    if (f.HasRatios) {
        f.TotalRatio = f.TotalPayoffs / s.TotalWagers;
        f.NormalRatio = f.NormalPayoffs / s.TotalWagers;
    }
    return f;
}

StatisticsTexts FormatStatistics(const StatisticsFigures& f) {
    constexpr const char* money = "$#,###,##0.00";
    StatisticsTexts t;
    t.Spins = FormatPicture(f.Spins, "###,##0");
    t.Credits = FormatPicture(f.Credits, money);
    t.Borrowed = FormatPicture(f.Borrowed, money);
    t.TotalBets = FormatPicture(f.TotalWagers, money);
    t.WonLost = FormatPicture(f.WonLost, money);
    t.Total = FormatPicture(f.TotalPayoffs, money);
    t.Normal = FormatPicture(f.NormalPayoffs, money);
    t.VazIvero = FormatPicture(f.DoubleNothing, money);
    t.Bonus = FormatPicture(f.BonusPayoffs, money);
    t.BonusRolls = FormatPicture(f.CherryPts, money);
    t.BonusPool = FormatPicture(f.PoolPts, money);
    t.TotalRatio = f.HasRatios ? FormatPicture(f.TotalRatio, "###0.00%") : "0.00%";
    t.NormalRatio = f.HasRatios ? FormatPicture(f.NormalRatio, "###0.00%") : "0.00%";
    return t;
}

}  // namespace kazoomba
