// Number pictures and the leading-number rule.
#include "common/NumberPicture.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kazoomba {

std::string FormatPicture(double value, std::string_view picture) {
    if (!std::isfinite(value)) value = 0.0;

    // Split the picture into the part before the first digit placeholder, the number part and the rest.
    std::size_t first = picture.find_first_of("0#");
    if (first == std::string_view::npos) return std::string(picture);
    std::size_t last = picture.find_last_of("0#");
    std::string_view prefix = picture.substr(0, first);
    std::string_view number = picture.substr(first, last - first + 1);
    std::string_view suffix = picture.substr(last + 1);

    // A point directly after the last placeholder with no decimals still belongs to the number.
    std::size_t point = number.find('.');
    std::string_view intPart = number.substr(0, point);
    std::string_view decPart = point == std::string_view::npos ? std::string_view{} : number.substr(point + 1);

    int decimals = 0;
    for (char c : decPart) if (c == '0' || c == '#') ++decimals;
    int minIntDigits = 0;
    for (char c : intPart) if (c == '0') ++minIntDigits;
    bool grouped = intPart.find(',') != std::string_view::npos;
    bool percent = picture.find('%') != std::string_view::npos;

    double v = percent ? value * 100.0 : value;
    bool negative = v < 0;
    // The picture's point is always ".", whatever the locale says.
    char digits[400];
    const std::to_chars_result made =
        std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::fixed, decimals);
    const std::string text = made.ec == std::errc{} ? std::string(digits, made.ptr) : std::string(1, '0');
    std::string whole = text.substr(0, text.find('.'));
    std::string frac = decimals > 0 ? text.substr(text.find('.') + 1) : std::string{};
    // A rounded zero is shown without a sign.
    if (negative && whole.find_first_not_of('0') == std::string::npos &&
        frac.find_first_not_of('0') == std::string::npos)
        negative = false;

    // Trailing "#" decimals drop trailing zeros.
    int optionalDecimals = 0;
    for (auto it = decPart.rbegin(); it != decPart.rend() && *it == '#'; ++it) ++optionalDecimals;
    while (optionalDecimals > 0 && !frac.empty() && frac.back() == '0') { frac.pop_back(); --optionalDecimals; }

    // Whole part: strip leading zeros, then pad to the required minimum.
    std::size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? std::string{} : whole.substr(nz);
    if (static_cast<int>(whole.size()) < minIntDigits) whole.insert(0, minIntDigits - whole.size(), '0');
    if (grouped) {
        std::string g;
        int count = 0;
        for (auto it = whole.rbegin(); it != whole.rend(); ++it) {
            if (count > 0 && count % 3 == 0) g.insert(g.begin(), ',');
            g.insert(g.begin(), *it);
            ++count;
        }
        whole = g;
    }

    std::string out;
    if (negative) out += '-';
    out += prefix;
    out += whole;
    if (point != std::string_view::npos && (!frac.empty() || decimals == 0)) {
        if (!frac.empty() || decPart.empty()) out += '.';
        out += frac;
    }
    out += suffix;
    return out;
}

std::string FormatDisplay(double value, std::string_view picture) {
    std::string text = FormatPicture(value, picture);
    if (text.size() > picture.size()) text.erase(0, text.size() - picture.size());
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    std::size_t e = text.find_last_not_of(" \t");
    return text.substr(b, e - b + 1);
}

double LeadingNumber(std::string_view text) {
    auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t count = 0;
    while (digit(i)) { ++i; ++count; }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (digit(j)) { ++j; ++count; }
        i = j;
    }
    if (count == 0) return 0.0;
    // Only digits and one point are left, so nothing here depends on the locale.
    double value = 0.0;
    const std::from_chars_result read =
        std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
    if (read.ec == std::errc::result_out_of_range) {
        // Too large when the whole part has a figure other than 0; otherwise too small to tell from 0.
        const std::string_view number = text.substr(start, i - start);
        const std::string_view whole = number.substr(0, number.find('.'));
        value = whole.find_first_not_of('0') != std::string_view::npos ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t LeadingWhole(std::string_view text) { return RoundHalfEven(LeadingNumber(text)); }

}  // namespace kazoomba
