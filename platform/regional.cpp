#include "regional.h"

#include <QLocale>
#include <cmath>

namespace kx {

std::optional<float> regionalToSingle(const QString& text) {
    bool ok = false;
    const double d = QLocale().toDouble(text, &ok);
    // The toolkit also reads "inf" and "nan"; neither is a number a person means.
    if (!ok || !std::isfinite(d) || !(std::fabs(d) < 0x1.ffffffp+127))
        return std::nullopt;
    return static_cast<float>(d);
}

QString regionalDateTime(const QDateTime& when) {
    const QLocale locale;
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!date.contains(u"yyyy"))
        date.replace(u"yy"_qs, u"yyyy"_qs);
    return locale.toString(when, date + u' ' + locale.timeFormat(QLocale::ShortFormat));
}

}  // namespace kx
