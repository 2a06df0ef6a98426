// Draws the sessions' final credits by hand, in the same style as the win chart.
#include "SessionPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "PlotFrame.h"
#include "Report.h"
#include "WinPlot.h"

namespace kazoomba::par {
namespace {

using namespace plot;

constexpr int kBars = 50;

std::string Text(const char* format, double a, double b = 0, double c = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

std::string Money(double v) {
    std::string whole = Grouped(static_cast<std::uint64_t>(std::llround(std::fabs(v))));
    return (v < 0 ? "-" : "") + whole;
}

}  // namespace

std::string SessionPlot(const SessionOdds& odds) {
    const SessionSettings& set = odds.settings;
    const double sessions = static_cast<double>(std::max<std::uint64_t>(1, set.sessions));
    const double bankroll = odds.Credits(odds.startCoins);
    const auto betCoins = static_cast<std::uint64_t>(set.coins);

    // Broke sessions end below one bet; they get the first bar. The rest are spread over bars whose width
    // is a whole number of coins, from below the lowest ending to the 99.9th percentile (or the bankroll).
    std::uint64_t broke = 0, seen = 0, top = odds.startCoins, low = odds.startCoins;
    bool lowFound = false;
    for (const auto& [c, n] : odds.byCoins) {
        if (c < betCoins) broke += n;
        else if (!lowFound) low = c, lowFound = true;
        seen += n;
        if (static_cast<double>(seen) <= 0.999 * sessions || c <= odds.startCoins) top = std::max<std::uint64_t>(top, c);
    }
    low = std::min(low, odds.startCoins);
    const double coinValue = set.coinValue;
    double step = NiceAbove(std::max(coinValue, (static_cast<double>(top - low) + 1) * coinValue / kBars));
    step = std::max(coinValue, std::round(step / coinValue) * coinValue);
    const double from = std::floor(static_cast<double>(low) * coinValue / step) * step;
    const int bars = std::max(1, static_cast<int>(std::ceil((static_cast<double>(top) * coinValue - from) / step + 1e-9)) + 1);
    std::vector<double> share(bars + 1, 0.0);  // [0]: broke
    for (const auto& [c, n] : odds.byCoins) {
        if (c < betCoins) continue;
        const int bar = std::clamp(static_cast<int>(std::floor((static_cast<double>(c) * coinValue - from) / step + 1e-9)), 0, bars - 1);
        share[bar + 1] += static_cast<double>(n) / sessions;
    }
    share[0] = static_cast<double>(broke) / sessions;
    const double highest = *std::max_element(share.begin(), share.end());
    // Headroom above the tallest bar keeps the bankroll's labels clear of the bars.
    const double yStep = NiceAbove(std::max(highest, 1e-6) * 1.2 / 5);
    const double yTop = std::ceil(highest * 1.2 / yStep - 1e-9) * yStep;

    const double slot = (kRight - kLeft) / (bars + 1.5);  // the broke bar, a gap, then the rest
    auto xOf = [&](double credits) { return kLeft + 1.5 * slot + (credits - from) / step * slot; };
    auto yOf = [&](double s) { return kBottom - s / yTop * (kBottom - kTop); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(kHeight) +
                      "\" width=\"" + Num(kWidth) + "\" height=\"" + Num(kHeight) +
                      "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text x=\"" + Num(kLeft) + "\" y=\"26\" font-size=\"16\" font-weight=\"bold\">Credits after at most " +
           std::to_string(set.spinLimit) + " spins: " + std::to_string(set.coins) + " coin" + (set.coins == 1 ? "" : "s") +
           " at " + (coinValue >= 1 ? Text("$%.2f", coinValue) : Text("%.0f\u00A2", 100 * coinValue)) + "</text>\n";
    svg += "<text x=\"" + Num(kLeft) + "\" y=\"46\" fill=\"#444\">" + Grouped(set.sessions) + " sessions from " +
           Money(bankroll) + " credits, each repeating the bet and taking every win</text>\n";

    // Grid, axes and labels.
    svg += "<g stroke=\"#dddddd\" stroke-width=\"1\">\n";
    for (double y = yStep; y <= yTop * 1.0001; y += yStep)
        svg += "<line x1=\"" + Num(kLeft) + "\" y1=\"" + Num(yOf(y)) + "\" x2=\"" + Num(kRight) + "\" y2=\"" + Num(yOf(y)) + "\"/>\n";
    svg += "</g>\n<g fill=\"#222\">\n";
    for (double y = 0; y <= yTop * 1.0001; y += yStep)
        svg += "<text x=\"" + Num(kLeft - 8) + "\" y=\"" + Num(yOf(y) + 4) + "\" text-anchor=\"end\">" +
               Text(yStep < 0.01 ? "%.1f %%" : "%.0f %%", 100 * y) + "</text>\n";
    const double labelStep = NiceAbove(step * bars / 6);
    for (double v = std::ceil(from / labelStep) * labelStep; v <= from + step * bars + 1e-9; v += labelStep)
        if (xOf(v) - (kLeft + 0.5 * slot) > 36)  // clear of the broke bar's label
            svg += "<text x=\"" + Num(xOf(v)) + "\" y=\"" + Num(kBottom + 18) + "\" text-anchor=\"middle\">" + Money(v) + "</text>\n";
    svg += "<text x=\"" + Num(kLeft + 0.5 * slot) + "\" y=\"" + Num(kBottom + 18) + "\" text-anchor=\"middle\">broke</text>\n";
    svg += "<text x=\"" + Num((kLeft + kRight) / 2) + "\" y=\"" + Num(kBottom + 40) +
           "\" text-anchor=\"middle\">credits at the end of the session</text>\n";
    svg += "<text transform=\"translate(22 " + Num((kTop + kBottom) / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">share of sessions</text>\n";
    svg += "</g>\n";
    svg += "<rect x=\"" + Num(kLeft) + "\" y=\"" + Num(kTop) + "\" width=\"" + Num(kRight - kLeft) + "\" height=\"" +
           Num(kBottom - kTop) + "\" fill=\"none\" stroke=\"#888\"/>\n";

    // The bars: broke in red, the others blue.
    const double gap = std::min(1.0, slot * 0.15);
    if (share[0] > 0)
        svg += "<rect x=\"" + Num(kLeft + gap) + "\" y=\"" + Num(yOf(share[0])) + "\" width=\"" + Num(slot - 2 * gap) +
               "\" height=\"" + Num(kBottom - yOf(share[0])) + "\" fill=\"#c0392b\"/>\n";
    svg += "<g fill=\"#1f4e9a\">\n";
    for (int b = 0; b < bars; ++b) {
        if (share[b + 1] <= 0) continue;
        const double x = xOf(from + b * step);
        svg += "<rect x=\"" + Num(x + gap) + "\" y=\"" + Num(yOf(share[b + 1])) + "\" width=\"" + Num(slot - 2 * gap) +
               "\" height=\"" + Num(kBottom - yOf(share[b + 1])) + "\"/>\n";
    }
    svg += "</g>\n";

    // The bankroll: where a session that neither won nor lost would end.
    const double bx = xOf(bankroll);
    svg += "<line x1=\"" + Num(bx) + "\" y1=\"" + Num(kTop) + "\" x2=\"" + Num(bx) + "\" y2=\"" + Num(kBottom) +
           "\" stroke=\"#d9581c\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>\n";
    const bool labelLeft = bx > (kLeft + kRight) / 2;
    svg += "<text x=\"" + Num(bx + (labelLeft ? -6 : 6)) + "\" y=\"" + Num(kTop + 16) + "\" fill=\"#d9581c\" text-anchor=\"" +
           (labelLeft ? "end" : "start") + "\">bankroll " + Money(bankroll) + " credits</text>\n";
    svg += "<text x=\"" + Num(bx + (labelLeft ? -6 : 6)) + "\" y=\"" + Num(kTop + 32) + "\" fill=\"#444\" text-anchor=\"" +
           (labelLeft ? "end" : "start") + "\">" + Text("ahead %.1f %%, broke %.1f %%", 100 * odds.ahead.estimate, 100 * odds.broke.estimate) +
           "</text>\n";
    return svg + "</svg>\n";
}

}  // namespace kazoomba::par
