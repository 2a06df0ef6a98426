// Draws the win distribution by hand: a few dozen SVG elements need no plotting library.
#include "WinPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "PlotFrame.h"

namespace kazoomba::par {
namespace {

using namespace plot;

// "10" with a superscript exponent, in superscript characters so that every renderer shows it.
std::string Power(int exponent) {
    if (exponent == 0) return "1";
    if (exponent == 1) return "10";
    static const char* const digits[] = {"\u2070", "\u00B9", "\u00B2", "\u00B3", "\u2074",
                                         "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string out = exponent < 0 ? "10\u207B" : "10";
    for (char d : std::to_string(std::abs(exponent))) out += digits[d - '0'];
    return out;
}

// The largest of 1, 2 or 5 times a power of ten at or below v, and the smallest at or above it.
double NiceBelow(double v) {
    const double decade = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * decade <= v * 1.0000001) return m * decade;
    return decade;
}
std::string TickLabel(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

}  // namespace

double NiceAbove(double v) {
    const double decade = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= v / 1.0000001) return m * decade;
    return 10 * decade;
}

std::string WinPlot(const ParSheet& sheet, const std::vector<std::uint64_t>* simulated) {
    const auto& counts = sheet.odds.lineWin;
    const double total = static_cast<double>(sheet.odds.total);
    const double coins = sheet.figures.coins;

    double minWin = 1e300, maxWin = 0, minChance = 1;
    for (std::size_t w = 1; w < counts.size(); ++w)
        if (counts[w]) {
            minWin = std::min(minWin, w / coins);
            maxWin = std::max(maxWin, w / coins);
            minChance = std::min(minChance, counts[w] / total);
        }
    if (maxWin == 0) minWin = maxWin = 1;
    const double xLowest = NiceBelow(minWin), xHigh = NiceAbove(maxWin);
    const int xLow = static_cast<int>(std::floor(std::log10(xLowest)));
    const int yLow = static_cast<int>(std::floor(std::log10(minChance)));
    auto x = [&](double v) {
        return kLeft + (std::log10(v / xLowest)) / std::log10(xHigh / xLowest) * (kRight - kLeft);
    };
    auto y = [&](double p) { return kBottom - (std::log10(p) - yLow) / (0.0 - yLow) * (kBottom - kTop); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(kHeight) +
                      "\" width=\"" + Num(kWidth) + "\" height=\"" + Num(kHeight) +
                      "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer,
                  "<text x=\"%s\" y=\"26\" font-size=\"16\" font-weight=\"bold\">What one paid spin wins: %d coin%s a spin</text>\n",
                  Num(kLeft).c_str(), sheet.figures.coins, sheet.figures.coins == 1 ? "" : "s");
    svg += buffer;
    std::snprintf(buffer, sizeof buffer,
                  "<text x=\"%s\" y=\"46\" fill=\"#444\">No line win on %.2f %% of paid spins. The chance of every other"
                  " line win (pool and bonus spins not included):</text>\n",
                  Num(kLeft).c_str(), 100.0 * counts[0] / total);
    svg += buffer;

    // Grid and axes.
    svg += "<g stroke=\"#dddddd\" stroke-width=\"1\">\n";
    for (int e = yLow; e <= 0; ++e)
        svg += "<line x1=\"" + Num(kLeft) + "\" y1=\"" + Num(y(std::pow(10.0, e))) + "\" x2=\"" + Num(kRight) + "\" y2=\"" +
               Num(y(std::pow(10.0, e))) + "\"/>\n";
    for (int e = xLow; std::pow(10.0, e) <= xHigh * 1.0001; ++e)
        for (double m : {1.0, 2.0, 5.0}) {
            const double v = m * std::pow(10.0, e);
            if (v < xLowest / 1.0001 || v > xHigh * 1.0001) continue;
            svg += "<line x1=\"" + Num(x(v)) + "\" y1=\"" + Num(kTop) + "\" x2=\"" + Num(x(v)) + "\" y2=\"" + Num(kBottom) + "\"/>\n";
        }
    svg += "</g>\n";
    svg += "<g fill=\"#222\">\n";
    for (int e = yLow; e <= 0; e += (yLow < -8 ? 2 : 1))
        svg += "<text x=\"" + Num(kLeft - 8) + "\" y=\"" + Num(y(std::pow(10.0, e)) + 4) + "\" text-anchor=\"end\">" + Power(e) + "</text>\n";
    for (int e = xLow; std::pow(10.0, e) <= xHigh * 1.0001; ++e)
        for (double m : {1.0, 2.0, 5.0}) {
            const double v = m * std::pow(10.0, e);
            if (v < xLowest / 1.0001 || v > xHigh * 1.0001) continue;
            svg += "<text x=\"" + Num(x(v)) + "\" y=\"" + Num(kBottom + 18) + "\" text-anchor=\"middle\">" + TickLabel(v) + "</text>\n";
        }
    svg += "<text x=\"" + Num((kLeft + kRight) / 2) + "\" y=\"" + Num(kBottom + 40) +
           "\" text-anchor=\"middle\">line win, in coins per coin wagered</text>\n";
    svg += "<text transform=\"translate(22 " + Num((kTop + kBottom) / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">chance on one paid spin</text>\n";
    svg += "</g>\n";
    svg += "<rect x=\"" + Num(kLeft) + "\" y=\"" + Num(kTop) + "\" width=\"" + Num(kRight - kLeft) + "\" height=\"" +
           Num(kBottom - kTop) + "\" fill=\"none\" stroke=\"#888\"/>\n";

    // The exact chances as stems.
    svg += "<g stroke=\"#1f4e9a\" stroke-width=\"1.5\" fill=\"#1f4e9a\">\n";
    for (std::size_t w = 1; w < counts.size(); ++w) {
        if (!counts[w]) continue;
        const double px = x(w / coins), py = y(counts[w] / total);
        svg += "<line x1=\"" + Num(px) + "\" y1=\"" + Num(kBottom) + "\" x2=\"" + Num(px) + "\" y2=\"" + Num(py) + "\"/>";
        svg += "<circle cx=\"" + Num(px) + "\" cy=\"" + Num(py) + "\" r=\"1.8\"/>\n";
    }
    svg += "</g>\n";

    std::uint64_t spins = 0;
    if (simulated) {
        for (std::uint64_t c : *simulated) spins += c;
        svg += "<g stroke=\"#d9581c\" stroke-width=\"1.3\" fill=\"none\">\n";
        for (std::size_t w = 1; w < simulated->size(); ++w) {
            if (!(*simulated)[w] || spins == 0) continue;
            const double p = static_cast<double>((*simulated)[w]) / static_cast<double>(spins);
            if (p < std::pow(10.0, yLow)) continue;
            svg += "<circle cx=\"" + Num(x(w / coins)) + "\" cy=\"" + Num(y(p)) + "\" r=\"3.5\"/>\n";
        }
        svg += "</g>\n";
    }

    // Legend.
    const double lx = kRight - 210, ly = kTop + 18;
    svg += "<rect x=\"" + Num(lx - 10) + "\" y=\"" + Num(ly - 14) + "\" width=\"216\" height=\"" + (simulated ? "44" : "24") +
           "\" fill=\"#ffffff\" stroke=\"#bbbbbb\"/>\n";
    svg += "<line x1=\"" + Num(lx) + "\" y1=\"" + Num(ly + 4) + "\" x2=\"" + Num(lx) + "\" y2=\"" + Num(ly - 8) +
           "\" stroke=\"#1f4e9a\" stroke-width=\"1.5\"/><text x=\"" + Num(lx + 12) + "\" y=\"" + Num(ly + 2) +
           "\">exact, from the rules</text>\n";
    if (simulated) {
        std::snprintf(buffer, sizeof buffer, "simulated, %.3g paid spins", static_cast<double>(spins));
        svg += "<circle cx=\"" + Num(lx) + "\" cy=\"" + Num(ly + 18) + "\" r=\"3.5\" stroke=\"#d9581c\" fill=\"none\"/><text x=\"" +
               Num(lx + 12) + "\" y=\"" + Num(ly + 22) + "\">" + buffer + "</text>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace kazoomba::par
