// The two number text rules: how a field's text becomes a number and how a
// single-precision result becomes a field's text.
#include <QtTest>
#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "fault.h"
#include "number_text.h"

using kx::FaultKind;
using namespace Qt::StringLiterals;

namespace {

std::string_view view(const QByteArray& text) { return {text.constData(), std::size_t(text.size())}; }

// QCOMPARE on floating-point values is fuzzy; both rules are exact.
QByteArray digits17(double v) { return QByteArray::number(v, 'g', 17); }

std::optional<FaultKind> faultOf(const QByteArray& text) {
    try {
        kx::leadingNumber(view(text));
    } catch (const kx::CalcFault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

// Uniform bit patterns reach every binade equally, from subnormals to the
// largest finite values, which is where the plain/exponent switch lives.
std::vector<float> randomFiniteFloats(std::size_t count) {
    std::mt19937 gen(20240607u);
    std::vector<float> values;
    values.reserve(count);
    while (values.size() < count) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
        if (std::isfinite(v))
            values.push_back(v);
    }
    return values;
}

}  // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void leadingNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");

        QTest::newRow("empty") << ""_ba << 0.0;
        QTest::newRow("blanks only") << "   "_ba << 0.0;
        QTest::newRow("tabs and line feeds only") << "\t\n\t"_ba << 0.0;
        QTest::newRow("blank between digits") << "1 5"_ba << 15.0;
        QTest::newRow("tab and line feed between digits") << "\t1\n2 .\t5\n"_ba << 12.5;
        QTest::newRow("carriage return ends the number") << "1\r5"_ba << 1.0;
        QTest::newRow("comma ends the number") << "30,5"_ba << 30.0;
        QTest::newRow("exponent") << "1.5E2"_ba << 150.0;
        QTest::newRow("lower-case exponent, negative") << "2.5e-1"_ba << 0.25;
        QTest::newRow("blank inside exponent") << "1E 2"_ba << 100.0;
        QTest::newRow("exponent letter only") << "1e"_ba << 1.0;
        QTest::newRow("exponent sign only") << "1e+"_ba << 1.0;
        QTest::newRow("exponent letter then text") << "7Ex"_ba << 7.0;
        QTest::newRow("lone minus") << "-"_ba << 0.0;
        QTest::newRow("lone plus") << "+"_ba << 0.0;
        QTest::newRow("plus and leading point") << "+.5"_ba << 0.5;
        QTest::newRow("lone point") << "."_ba << 0.0;
        QTest::newRow("second point ends") << "1.2.3"_ba << 1.2;
        QTest::newRow("minus, blank, digit") << "- 5"_ba << -5.0;
        QTest::newRow("trailing letters") << "12abc"_ba << 12.0;
        QTest::newRow("leading letter") << "abc12"_ba << 0.0;
        QTest::newRow("effective value text") << " 46.61"_ba << 46.61;
        QTest::newRow("negative effective value text") << "-8.39"_ba << -8.39;
        QTest::newRow("shown exponent form") << "1.677722E+07"_ba << 16777220.0;
        QTest::newRow("leading zeros") << "000123.4500"_ba << 123.45;
        QTest::newRow("hexadecimal") << "&H1F"_ba << 31.0;
        QTest::newRow("hexadecimal, lower case") << "&hff"_ba << 255.0;
        QTest::newRow("hexadecimal, blank after prefix") << "&H 1F"_ba << 31.0;
        QTest::newRow("hexadecimal without digits") << "&H"_ba << 0.0;
        QTest::newRow("octal") << "&O17"_ba << 15.0;
        QTest::newRow("octal, lower case") << "&o17"_ba << 15.0;
        QTest::newRow("octal stops at 8") << "&O78"_ba << 7.0;
        QTest::newRow("lone ampersand") << "&"_ba << 0.0;
        QTest::newRow("ampersand and other letter") << "&Z"_ba << 0.0;
        QTest::newRow("1E308") << "1E308"_ba << 1e308;
        QTest::newRow("largest double") << "1.7976931348623157E308"_ba << DBL_MAX;
        QTest::newRow("smallest subnormal") << "4.9406564584124654E-324"_ba
                                            << std::numeric_limits<double>::denorm_min();
        QTest::newRow("below the subnormals") << "1E-400"_ba << 0.0;
        QTest::newRow("zero with a huge exponent") << "0E999999"_ba << 0.0;
        QTest::newRow("one with a huge negative exponent") << "1E-999999"_ba << 0.0;
        QTest::newRow("100,000 leading zeros") << QByteArray(99'999, '0') + "7" << 7.0;
        QTest::newRow("100,000-digit fraction") << "0." + QByteArray(99'998, '3') << 1.0 / 3.0;
        QTest::newRow("100,000-digit number scaled down")
            << "1" + QByteArray(99'999, '0') + "E-99999" << 1.0;
    }
    // clang-format on

    void leadingNumber() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        const double got = kx::leadingNumber(view(text));
        QVERIFY2(got == value, "got " + digits17(got) + ", expected " + digits17(value));
    }

    // clang-format off
    void leadingNumberBeyondDoubleRange_data() {
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("1E309") << "1E309"_ba;
        QTest::newRow("-1E309") << "-1E309"_ba;
        QTest::newRow("rounds up past the largest double") << "1.7976931348623159E308"_ba;
        QTest::newRow("exponent beyond any integer") << "1E99999999999999999999"_ba;
        QTest::newRow("fraction with a large exponent") << "0.0001E313"_ba;
        QTest::newRow("100,000-digit integer") << "1" + QByteArray(99'999, '0');
        QTest::newRow("hexadecimal beyond double range") << "&H" + QByteArray(257, 'F');
    }
    // clang-format on

    void leadingNumberBeyondDoubleRange() {
        QFETCH(QByteArray, text);
        const std::optional<FaultKind> fault = faultOf(text);
        QVERIFY(fault.has_value());
        QCOMPARE(*fault, FaultKind::NumberTextTooLarge);
    }

    // clang-format off
    void resultText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("43.96551") << 43.96551f << "43.96551"_ba;
        QTest::newRow("whole number") << 55.0f << "55"_ba;
        QTest::newRow("negative whole number") << -10000.0f << "-10000"_ba;
        QTest::newRow("one third") << 1.0f / 3.0f << "0.3333333"_ba;
        QTest::newRow("trailing zeros dropped") << 0.1f << "0.1"_ba;
        QTest::newRow("negative fraction") << -0.25f << "-0.25"_ba;
        QTest::newRow("rounds up to a whole number") << std::nextafter(3.0f, 0.0f) << "3"_ba;
        QTest::newRow("7 digits stay plain") << 1234567.0f << "1234567"_ba;
        QTest::newRow("largest plain") << 9999999.0f << "9999999"_ba;
        QTest::newRow("negative 7 digits") << -1234567.0f << "-1234567"_ba;
        QTest::newRow("8 digits") << 12345678.0f << "1.234568E+07"_ba;
        QTest::newRow("2^24") << 16777216.0f << "1.677722E+07"_ba;
        QTest::newRow("negative 2^24") << -16777216.0f << "-1.677722E+07"_ba;
        QTest::newRow("1E+07") << 1e7f << "1E+07"_ba;
        QTest::newRow("rounds to 7 digits in exponent form") << 99999995.0f << "9.999999E+07"_ba;
        QTest::newRow("0.0001 stays plain") << 0.0001f << "0.0001"_ba;
        QTest::newRow("small with 7 digits") << 0.00012345678f << "0.0001234568"_ba;
        QTest::newRow("1E-05") << 1e-5f << "1E-05"_ba;
        QTest::newRow("negative 1E-05") << -1e-5f << "-1E-05"_ba;
        QTest::newRow("largest single") << FLT_MAX << "3.402823E+38"_ba;
        QTest::newRow("smallest normal single") << FLT_MIN << "1.175494E-38"_ba;
        QTest::newRow("smallest subnormal single") << std::numeric_limits<float>::denorm_min() << "1.401298E-45"_ba;
        QTest::newRow("zero") << 0.0f << "0"_ba;
        QTest::newRow("negative zero") << -0.0f << "0"_ba;
    }
    // clang-format on

    void resultText() {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(kx::resultText(value)), text);
    }

    // "%.7G" is the C library's own form of the same rule, so every finite single
    // must agree with it; only negative zero differs, shown above as "0".
    void resultTextAgreesWithPrintf() {
        for (const float v : randomFiniteFloats(200'000)) {
            if (v == 0.0f)
                continue;
            char expected[40];
            std::snprintf(expected, sizeof expected, "%.7G", static_cast<double>(v));
            const std::string got = kx::resultText(v);
            if (got != expected)
                QFAIL(qPrintable(QStringLiteral("bits %1: got %2, printf gives %3")
                                     .arg(std::bit_cast<std::uint32_t>(v), 8, 16, QLatin1Char('0'))
                                     .arg(QString::fromStdString(got), QString::fromLatin1(expected))));
        }
    }

    // Both rules use "." whatever the regional settings say.
    void decimalCommaLocaleChangesNothing() {
        const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
        const char* comma = nullptr;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "it_IT.UTF-8", "de-DE", "German"})
            if ((comma = std::setlocale(LC_NUMERIC, name)))
                break;
        if (!comma)
            QSKIP("no locale with a decimal comma is installed");
        const std::string shown = kx::resultText(43.96551f);
        const double read = kx::leadingNumber("30,5");
        std::setlocale(LC_NUMERIC, previous.c_str());
        QCOMPARE(QByteArray::fromStdString(shown), "43.96551"_ba);
        QCOMPARE(read, 30.0);
    }

    // The colour choice reads the result fields back, so a shown text must read
    // as exactly the decimal value it shows.
    void resultTextReadsBackAsShown() {
        for (const float v : randomFiniteFloats(200'000)) {
            const std::string shown = kx::resultText(v);
            const double read = kx::leadingNumber(shown);
            const double decimal = std::strtod(shown.c_str(), nullptr);
            if (read != decimal)
                QFAIL(qPrintable(QStringLiteral("%1 reads as %2")
                                     .arg(QString::fromStdString(shown), QString::number(read, 'g', 17))));
        }
    }

    // clang-format off
    void effectiveValueText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("45 + 1.61") << 45.0f + 1.61f << " 46.61"_ba;
        QTest::newRow("45") << 45.0f << " 45"_ba;
        QTest::newRow("zero") << 0.0f << " 0"_ba;
        QTest::newRow("negative zero") << -0.0f << " 0"_ba;
        QTest::newRow("negative") << -8.39f << "-8.39"_ba;
        QTest::newRow("-10") << -10.0f << "-10"_ba;
        QTest::newRow("exponent form") << 16777216.0f << " 1.677722E+07"_ba;
        QTest::newRow("small exponent form") << 1e-5f << " 1E-05"_ba;
    }
    // clang-format on

    void effectiveValueText() {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(kx::effectiveValueText(value)), text);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
