// The user's regional format: the one place where typed text is read with
// the locale's decimal separator and grouping, and where dates are written.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace kx {

// The text as a single-precision number under the default locale; nothing
// when it is not wholly a number there or lies beyond the single range.
std::optional<float> regionalToSingle(const QString& text);

// A date and time as the regional format writes them short, with the year
// in full: a filed page must not leave the century to guess.
QString regionalDateTime(const QDateTime& when);

}  // namespace kx
