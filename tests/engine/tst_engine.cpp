// The engine's primitives at their limits, where the golden scenario file's
// complete runs rarely go: the two number text rules and the correctly
// rounded trigonometry.
#include <QtTest>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "exact_math.h"
#include "fault.h"
#include "number_text.h"

using namespace kx;
using namespace Qt::StringLiterals;

namespace enginetest {

// A double as C's "%a" text, so that a comparison is exact and readable.
QByteArray hex(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", v);
    return text;
}

double (*const kExact[])(double) = {exact::sin, exact::cos, exact::tan, exact::atan};

// A text beyond double range: a fault, not a value.
constexpr double kTooLarge = std::numeric_limits<double>::quiet_NaN();

}  // namespace enginetest

using namespace enginetest;

class TestEngine : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void leadingNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");

        QTest::newRow("empty") << ""_ba << 0.0;
        QTest::newRow("tab and line feed between digits") << "\t1\n2 .\t5\n"_ba << 12.5;
        QTest::newRow("carriage return ends the number") << "1\r5"_ba << 1.0;
        QTest::newRow("comma ends the number") << "30,5"_ba << 30.0;
        QTest::newRow("exponent") << "1.5E2"_ba << 150.0;
        QTest::newRow("lower-case exponent, negative") << "2.5e-1"_ba << 0.25;
        QTest::newRow("blank inside exponent") << "1E 2"_ba << 100.0;
        QTest::newRow("exponent letter then text") << "7Ex"_ba << 7.0;
        QTest::newRow("lone minus") << "-"_ba << 0.0;
        QTest::newRow("second point ends") << "1.2.3"_ba << 1.2;
        QTest::newRow("minus, blank, digit") << "- 5"_ba << -5.0;
        QTest::newRow("leading letter") << "abc12"_ba << 0.0;
        QTest::newRow("hexadecimal") << "&H1F"_ba << 31.0;
        QTest::newRow("octal") << "&O17"_ba << 15.0;
        QTest::newRow("octal stops at 8") << "&O78"_ba << 7.0;
        QTest::newRow("hexadecimal stops at a colon") << "&H7:@"_ba << 7.0;
        QTest::newRow("largest double") << "1.7976931348623157E308"_ba << DBL_MAX;
        QTest::newRow("smallest subnormal") << "4.9406564584124654E-324"_ba << std::numeric_limits<double>::denorm_min();
        QTest::newRow("below the subnormals") << "1E-400"_ba << 0.0;
        QTest::newRow("100,000-digit fraction") << "0." + QByteArray(99'998, '3') << 1.0 / 3.0;
        QTest::newRow("1E309") << "1E309"_ba << kTooLarge;
        QTest::newRow("rounds up past the largest double") << "1.7976931348623159E308"_ba << kTooLarge;
        QTest::newRow("fraction with a large exponent") << "0.0001E313"_ba << kTooLarge;
        QTest::newRow("100,000-digit integer") << "1" + QByteArray(99'999, '0') << kTooLarge;
        QTest::newRow("hexadecimal beyond double range") << "&H" + QByteArray(257, 'F') << kTooLarge;
        QTest::newRow("16 digits, scaled: rounded once") << "9007199254740993E1"_ba << 90071992547409936.0;
        QTest::newRow("100,000-digit number scaled down")
            << "1" + QByteArray(99'999, '0') + "E-99999" << 1.0;
    }
    // clang-format on

    void leadingNumber() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        if (std::isnan(value)) {
            QVERIFY_THROWS_EXCEPTION(CalcFault, kx::leadingNumber(text.toStdString()));
            return;
        }
        const double got = kx::leadingNumber(text.toStdString());
        // QCOMPARE on floating-point values is fuzzy; the rule is exact.
        QVERIFY2(got == value, QByteArray::number(got, 'g', 17));
    }

    // clang-format off
    void resultText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("largest plain") << 9999999.0f << "9999999"_ba;
        QTest::newRow("8 digits") << 12345678.0f << "1.234568E+07"_ba;
        QTest::newRow("rounds to 7 digits in exponent form") << 99999995.0f << "9.999999E+07"_ba;
        QTest::newRow("0.0001 stays plain") << 0.0001f << "0.0001"_ba;
        QTest::newRow("small with 7 digits") << 0.00012345678f << "0.0001234568"_ba;
        QTest::newRow("1E-05") << 1e-5f << "1E-05"_ba;
        QTest::newRow("negative zero") << -0.0f << "0"_ba;
    }
    // clang-format on

    void resultText() {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(kx::resultText(value)), text);
    }

    // Arguments where a C library (glibc, or Windows' under Wine) rounds the
    // other way, where the quick path must leave the result to the slow one,
    // and the reductions' extremes; the results are the correctly rounded
    // ones (mpmath at 200 bits).
    // clang-format off
    void exactFunctions_data() {
        QTest::addColumn<int>("function");  // sin, cos, tan, atan
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        const auto row = [](const char* name, char f, double x, double y) { QTest::newRow(name) << int(std::string_view("scta").find(f)) << x << y; };
        row("sin, glibc", 's', 0x1.b6e72e7792cb8p-3, 0x1.b38d1532bf86dp-3);
        row("cos, glibc", 'c', 0x1.1398b0e953a21p-1, 0x1.b799b77a083c3p-1);
        row("tan, glibc", 't', -0x1.ba1b0cc72d0ddp-2, -0x1.d7ca78f699293p-2);
        row("atan, glibc", 'a', -0x1.450e5d1d47a3ap-2, -0x1.3ac0fe988f548p-2);
        row("sin of 2^37, glibc", 's', -0x1.c3df8c8357ab6p+36, 0x1.d2045e018bbdbp-3);
        row("tan of 2^105, glibc", 't', 0x1.3bd7dfaf40038p+105, -0x1.5f0b4b5690dfdp+2);
        row("cos of 2^112, Wine far off", 'c', -0x1.7fa6c77dfdd4ep+111, -0x1.2eb8bd5a894e9p-2);
        row("sin, slow path", 's', 0x1.2e5beff22a166p+0, 0x1.d99c53b0f0a3bp-1);
        row("cos, slow path", 'c', -0x1.73378d9100d22p-1, 0x1.7f386df7789cfp-1);
        row("tan, slow path", 't', -0x1.b3ca705017745p-2, -0x1.d0283902cb249p-2);
        row("atan, slow path", 'a', 0x1.c15f8621f2bbp-2, 0x1.a775d3bb4e881p-2);
        row("atan above 1, slow path", 'a', -0x1.4e1bf0e0fce6fp+1, -0x1.3476af68edc07p+0);
        row("cos nearest to a multiple of pi/2", 'c', 6381956970095103.0 * 0x1p797, -0x1.14ae72e6ba22fp-61);
        row("sin of the largest double", 's', 0x1.fffffffffffffp+1023, 0x1.452fc98b34e97p-8);
        row("sin of -0", 's', -0.0, -0.0);
        row("atan of 2^61", 'a', 0x1p61, 0x1.921fb54442d18p+0);
    }
    // clang-format on

    void exactFunctions() {
        QFETCH(int, function);
        QFETCH(double, x);
        QFETCH(double, expected);
        QCOMPARE(hex(kExact[function](x)), hex(expected));
        double sinCos[2];
        exact::sinCos(x, sinCos[0], sinCos[1]);
        if (function < 2)
            QCOMPARE(hex(sinCos[function]), hex(expected));
    }

    // The quick paths answer only when their rounding is certain: over the
    // engine's angles and ratios they agree with the slow path everywhere.
    void exactQuickPathsAgreeWithSlow() {
        std::mt19937_64 random(2026);
        std::uniform_real_distribution<double> degrees(-400.0, 400.0), ratio(-8.0, 8.0);
        for (int n = 0; n < 100000; ++n) {
            const double x = degrees(random) * 0.017453292222222222, q = ratio(random);
            double s, c;
            exact::sinCos(x, s, c);
            const double slow[] = {exact::slow::sin(x), exact::slow::cos(x), exact::slow::tan(x), exact::slow::atan(q)};
            const double quick[] = {s, c, exact::tan(x), exact::atan(q)};
            for (int f = 0; f < 4; ++f)
                if (hex(quick[f]) != hex(slow[f]))
                    QFAIL(("function " + QByteArray::number(f) + " at " + hex(f == 3 ? q : x) + ": " + hex(quick[f]) +
                           ", slow path " + hex(slow[f]))
                              .constData());
        }
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
