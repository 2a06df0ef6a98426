// Number pictures ("$#,###,##0.00" and friends) and the leading-number rule for reading numbers back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kazoomba {

// Formats value with a picture: "0" a digit always shown, "#" a digit shown only when significant,
// "," in the integer part groups thousands, "." the decimal point, "%" multiplies by 100 and is shown,
// anything else is shown as it stands. Rounds to the decimals shown; a negative value gets a leading minus.
std::string FormatPicture(double value, std::string_view picture);

// Formats value for a lit display whose box holds exactly as many figures as the picture: a figure that
// would not fit rolls over like a mechanical counter, keeping its last figures (1,234,567 spins in
// "000000" show 234567), so no display ever draws outside its box.
std::string FormatDisplay(double value, std::string_view picture);

// Reads the leading number of text: blanks, an optional sign, digits, an optional point and digits;
// anything else ends it, and text without a digit there reads as 0. Exponents, hex, "inf" and "nan"
// are not numbers here. The point is always ".", whatever the locale. Values beyond double range
// come back as +/-infinity.
double LeadingNumber(std::string_view text);

// The leading number rounded to the nearest whole number, halves to even, clamped to the 32-bit range.
std::int32_t LeadingWhole(std::string_view text);

// Rounds to the nearest whole number with halves to even, clamped to the 32-bit range (NaN gives 0).
std::int32_t RoundHalfEven(double value);

// Removes leading and trailing blanks (spaces and tabs).
std::string_view TrimBlanks(std::string_view text);

}  // namespace kazoomba
