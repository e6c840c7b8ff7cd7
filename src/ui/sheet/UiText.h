#pragma once

#include <string_view>

#include <QString>

namespace veltrano {

// The core's texts are UTF-8 ("cm³", "g/m²").
inline QString uiText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace veltrano
