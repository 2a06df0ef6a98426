// The rules' texts, UTF-8 in std::string_view, as Qt strings: one conversion for every layer that uses Qt.
#pragma once

#include <QString>
#include <string_view>

namespace kazoomba {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kazoomba
