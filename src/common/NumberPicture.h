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

// Reads the longest leading decimal number of text (leading blanks skipped; sign, digits, point,
// exponent); text without one reads as 0. Values beyond double range come back as +/-HUGE_VAL.
double LeadingNumber(std::string_view text);

// The leading number rounded to the nearest whole number, halves to even, clamped to the 32-bit range.
std::int32_t LeadingWhole(std::string_view text);

// Rounds to the nearest whole number with halves to even, clamped to the 32-bit range (NaN gives 0).
std::int32_t RoundHalfEven(double value);

// Removes leading and trailing blanks (spaces and tabs).
std::string_view TrimBlanks(std::string_view text);

}  // namespace kazoomba
