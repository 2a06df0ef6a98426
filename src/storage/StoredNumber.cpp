// Reading a stored number exactly as written.
#include "StoredNumber.h"

#include <string>

#include "common/NumberPicture.h"

namespace kazoomba {

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the leading sign, digits and point the leading-number rule reads; 0 when it reads none.
qsizetype NumberLength(QStringView t) {
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
    qsizetype digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == u'.') {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    }
    return digits == 0 ? 0 : i;
}

}  // namespace

std::optional<double> NumberAsWritten(QStringView text) {
    const QStringView t = text.trimmed();
    const qsizetype length = NumberLength(t);
    if (length == 0 || length != t.size()) return std::nullopt;
    return LeadingNumber(t.toString().toStdString());
}

QString WhyNotANumber(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.isEmpty()) return QStringLiteral("is empty");
    if (NumberLength(t) == 0) return QStringLiteral("is not a number");
    return QStringLiteral("has more than a number in it");
}

QString Quoted(QStringView text) {
    constexpr qsizetype kShown = 24;
    const QString shown = text.size() > kShown ? text.left(kShown).toString() + QStringLiteral("...") : text.toString();
    return u'"' + shown + u'"';
}

}  // namespace kazoomba
