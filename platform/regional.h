// The user's regional number format: the one place where typed text is read
// with the locale's decimal separator and grouping.
#pragma once

#include <QString>
#include <optional>

namespace kx {

// The text as a single-precision number under the default locale; nothing
// when it is not wholly a number there or lies beyond the single range.
std::optional<float> regionalToSingle(const QString& text);

}  // namespace kx
