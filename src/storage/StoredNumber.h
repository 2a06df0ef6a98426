// A number in the settings file read exactly as it stands, and in plain words why a text is no such number.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace kazoomba {

// The value of a text that is wholly one plain decimal number (blanks around it, a sign, digits, one
// point), as the game writes them; nothing for any other text, even one the leading-number rule reads
// a number from ("12abc", "1e39", "0x10"). A number too large for a double is infinite.
std::optional<double> NumberAsWritten(QStringView text);

// Why a text is not such a number: "is empty", "is not a number", or "has more than a number in it"
// (the leading-number rule then takes only its start).
QString WhyNotANumber(QStringView text);

// A stored value quoted for a message: in double quotes, cut with "..." when it is long.
QString Quoted(QStringView text);

}  // namespace kazoomba
