// The calculation: each step on its own, then complete runs through the
// map-backed fields, including runs that fault.
#include <QtTest>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "calculation.h"
#include "exact_math.h"
#include "fault.h"
#include "map_fields.h"
#include "number_text.h"
#include "table_elements.h"

using namespace kx;
using namespace Qt::StringLiterals;
using kx::test::FaultLog;
using kx::test::MapFields;

// Readable failure messages for the engine's own types (found by QCOMPARE
// through argument-dependent lookup).
namespace kx {
char* toString(FaultKind k) { return qstrdup(describe(k).c_str()); }
char* toString(CalcStage s) { return qstrdup(describe(s).c_str()); }
char* toString(Rgb c) { return qstrdup(qPrintable(QStringLiteral("RGB(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b))); }
}  // namespace kx

namespace enginetest {

struct Vec {
    float x, y, z;
};

constexpr Field kResults[] = {Field::ag,         Field::agtable,        Field::canineright, Field::caninetableright,
                              Field::canineleft, Field::caninetableleft};

// The worked example of the canine guidance: condyles and canine point.
constexpr Vec kA{0.0f, 54.8f, 0.0f};
constexpr Vec kB{4.2f, -54.1f, 2.5f};
constexpr Vec kP{66.0f, 13.5f, 50.0f};

struct Run {
    MapFields fields;
    FaultLog log;
    Calculation calc{fields, log};

    bool canine(float fwgrad, Vec a = kA, Vec b = kB, Vec p = kP) {
        return calc.calc_ga(fwgrad, a.x, a.y, a.z, b.x, b.y, b.z, p.x, p.y, p.z);
    }
};

// A double as C's "%a" text, so that a comparison is exact and readable.
QByteArray hex(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", v);
    return text;
}

double exactOf(char function, double x) {
    switch (function) {
        case 's': return exact::sin(x);
        case 'c': return exact::cos(x);
        case 't': return exact::tan(x);
        default: return exact::atan(x);
    }
}

Field fieldNamed(const QByteArray& name) {
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (fieldName(Field(i)) == name.toStdString())
            return Field(i);
    qFatal("no field named %s", name.constData());
}

// "txtLeftX=0|txtLeftY=55": the text after "=" is taken as it stands, blanks included.
void applyEdits(MapFields& fields, const QByteArray& edits) {
    for (const QByteArray& edit : edits.split('|')) {
        if (edit.isEmpty())
            continue;
        const qsizetype eq = edit.indexOf('=');
        fields.texts[fieldNamed(edit.left(eq))] = edit.mid(eq + 1).toStdString();
    }
}

QByteArray text(const MapFields& fields, Field f) { return QByteArray::fromStdString(fields.text(f)); }

QByteArray namesOf(const std::vector<Field>& fields) {
    QByteArrayList names;
    for (Field f : fields)
        names << QByteArray::fromStdString(std::string(fieldName(f)));
    return names.join(',');
}

QByteArray shown(float v) { return QByteArray::fromStdString(resultText(v)); }
QByteArray shown(Vec v) { return "(" + shown(v.x) + ", " + shown(v.y) + ", " + shown(v.z) + ")"; }

template <typename Step>
std::optional<CalcFault> faultOf(Step&& step) {
    try {
        step();
    } catch (const CalcFault& fault) {
        return fault;
    }
    return std::nullopt;
}

bool showsNonFinite(const MapFields& fields) {
    for (const auto& [f, t] : fields.texts) {
        const QByteArray lower = QByteArray::fromStdString(t).toLower();
        if (lower.contains("inf") || lower.contains("nan"))
            return true;
    }
    return false;
}

}  // namespace enginetest

using namespace enginetest;

class TestEngine : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void frontGuidance_data() {
        QTest::addColumn<float>("hci");
        QTest::addColumn<float>("Ph");
        QTest::addColumn<float>("Pv");
        QTest::addColumn<QByteArray>("ag");
        QTest::addColumn<QByteArray>("agtable");

        QTest::newRow("worked example") << 30.0f << 70.5f << 48.0f << "43.96551"_ba << "44.27916"_ba;
        QTest::newRow("hci 0") << 0.0f << 70.5f << 48.0f << "22.5"_ba << "28.80856"_ba;
        QTest::newRow("hci 45") << 45.0f << 70.5f << 48.0f << "51.091"_ba << "50.67337"_ba;
        QTest::newRow("hci 58") << 58.0f << 70.5f << 48.0f << "57.266"_ba << "57.39574"_ba;
        QTest::newRow("hci 58.5") << 58.5f << 70.5f << 48.0f << "57.203"_ba << "57.43363"_ba;
        QTest::newRow("incisal height 0") << 30.0f << 70.5f << 0.0f << "43.96551"_ba << "51.0337"_ba;
        QTest::newRow("incisal point on the axis") << 30.0f << 0.0f << 0.0f << "43.96551"_ba << "-10000"_ba;
    }
    // clang-format on

    void frontGuidance() {
        QFETCH(float, hci);
        QFETCH(float, Ph);
        QFETCH(float, Pv);
        QFETCH(QByteArray, ag);
        QFETCH(QByteArray, agtable);
        Run r;
        r.calc.tablePivotX = 120;
        r.calc.calcfw1(hci, Ph, Pv);
        QCOMPARE(shown(r.calc.agAngle), ag);
        QCOMPARE(shown(r.calc.agTableAngle), agtable);
    }

    // clang-format off
    void anteriorGuidancePieces_data() {
        QTest::addColumn<float>("hci");
        QTest::addColumn<QByteArray>("ag");

        QTest::newRow("-10, first piece") << -10.0f << "15.34483"_ba;
        QTest::newRow("0") << 0.0f << "22.5"_ba;
        QTest::newRow("30, first piece") << 30.0f << "43.96551"_ba;
        QTest::newRow("just above 30, second piece") << std::nextafter(30.0f, 99.0f) << "43.966"_ba;
        QTest::newRow("58, second piece") << 58.0f << "57.266"_ba;
        QTest::newRow("just above 58, third piece") << std::nextafter(58.0f, 99.0f) << "57"_ba;
        QTest::newRow("90.02, limited") << 90.02f << "70"_ba;
        QTest::newRow("1000, limited") << 1000.0f << "70"_ba;
    }
    // clang-format on

    void anteriorGuidancePieces() {
        QFETCH(float, hci);
        QFETCH(QByteArray, ag);
        Run r;
        r.calc.tablePivotX = 120;
        r.calc.calcfw1(hci, 70.5f, 48.0f);
        QCOMPARE(shown(r.calc.agAngle), ag);
    }

    // Where the anterior guidance equals hci the two normals are parallel; the
    // inclination must stay close to hci on both sides instead of jumping.
    // clang-format off
    void frontGuidanceNearParallelNormals_data() {
        QTest::addColumn<float>("hci");
        QTest::addColumn<double>("agtable");
        QTest::newRow("just below") << 56.5927f << 56.5971;
        QTest::newRow("just above") << 56.6127f << 56.6083;
    }
    // clang-format on

    void frontGuidanceNearParallelNormals() {
        QFETCH(float, hci);
        QFETCH(double, agtable);
        Run r;
        r.calc.tablePivotX = 120;
        r.calc.calcfw1(hci, 70.5f, 48.0f);
        QVERIFY2(std::fabs(r.calc.agTableAngle - agtable) < 0.0005, shown(r.calc.agTableAngle));
    }

    // clang-format off
    void condylePoints_data() {
        QTest::addColumn<float>("hci");
        QTest::addColumn<float>("ben");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<QByteArray>("a");

        QTest::newRow("worked example") << 30.0f << 10.0f << "(4.264343, -54.13176, 2.462019)"_ba << "(0, 55.75798, 0)"_ba;
        QTest::newRow("0, 0") << 0.0f << 0.0f << "(5, -55, 0)"_ba << "(0, 54.88631, 0)"_ba;
        QTest::newRow("40, 15") << 40.0f << 15.0f << "(3.699711, -53.70591, 3.104426)"_ba << "(0, 56.18802, 0)"_ba;
        QTest::newRow("70, 25") << 70.0f << 25.0f << "(1.549878, -52.88691, 4.258254)"_ba << "(0, 57.01971, 0)"_ba;
        QTest::newRow("negative TCI") << 30.0f << -10.0f << "(4.264343, -55.86824, 2.462019)"_ba << "(0, 54.0215, 0)"_ba;
        QTest::newRow("90, 0: pi as 3.1415926") << 90.0f << 0.0f << "(1.339745E-07, -55, 5)"_ba << "(0, 54.88631, 0)"_ba;
    }
    // clang-format on

    void condylePoints() {
        QFETCH(float, hci);
        QFETCH(float, ben);
        QFETCH(QByteArray, b);
        QFETCH(QByteArray, a);
        Run r;
        // Nothing left over from earlier runs may enter the result.
        r.calc.condDist = 0;
        r.calc.ax = r.calc.ay = r.calc.az = r.calc.bx = r.calc.by = r.calc.bz = 999;
        r.calc.calc_ax(hci, ben, 5, 0, 0);
        QCOMPARE(shown(Vec{r.calc.bx, r.calc.by, r.calc.bz}), b);
        QCOMPARE(shown(Vec{r.calc.ax, r.calc.ay, r.calc.az}), a);
        QCOMPARE(r.calc.condDist, 110.0f);
    }

    // A path longer than the condyle distance puts a negative number under the
    // root; the points are stored only at the end, so the old ones stay.
    void condylePointsBeyondReachKeepOldPoints() {
        Run r;
        r.calc.calc_ax(30, 10, 5, 0, 0);
        const Calculation before = r.calc;
        const auto fault = faultOf([&] { r.calc.calc_ax(30, 10, 200, 0, 0); });
        QVERIFY(fault);
        QCOMPARE(fault->kind(), FaultKind::NegativeSquareRoot);
        for (auto member : {&Calculation::ax, &Calculation::ay, &Calculation::az, &Calculation::bx, &Calculation::by,
                            &Calculation::bz})
            QCOMPARE(r.calc.*member, before.*member);
    }

    void canineGuidanceWorkedExample() {
        Run r;
        Calculation& c = r.calc;
        c.fwgrad = 45;
        c.ax = kA.x, c.ay = kA.y, c.az = kA.z;
        c.bx = kB.x, c.by = kB.y, c.bz = kB.z;
        c.Px = kP.x, c.Py = kP.y, c.Pz = kP.z;
        const Calculation before = c;
        // The driver passes its own state variables; none of them may change.
        QVERIFY(c.calc_ga(c.fwgrad, c.ax, c.ay, c.az, c.bx, c.by, c.bz, c.Px, c.Py, c.Pz));
        QVERIFY(c.lastConverged);
        QCOMPARE(c.lastEvaluations, 18);
        // t of about 47.2406 degrees, times the factor 1.1 for a guidance of 45.
        QVERIFY2(std::fabs(c.canineTableAngle - 47.2406 * 1.1) < 1e-4, shown(c.canineTableAngle));
        for (auto member :
             {&Calculation::fwgrad, &Calculation::ax, &Calculation::ay, &Calculation::az, &Calculation::bx,
              &Calculation::by, &Calculation::bz, &Calculation::Px, &Calculation::Py, &Calculation::Pz})
            QCOMPARE(c.*member, before.*member);
    }

    // clang-format off
    void canineGuidanceFaults_data() {
        QTest::addColumn<Vec>("a");
        QTest::addColumn<Vec>("b");
        QTest::addColumn<Vec>("P");

        QTest::newRow("canine point (0, 55, 0)") << kA << kB << Vec{0, 55, 0};
        QTest::newRow("canine point (0, 55, 50)") << kA << kB << Vec{0, 55, 50};
        QTest::newRow("canine point (0, 55, -30)") << kA << kB << Vec{0, 55, -30};
        QTest::newRow("condyles at the same y") << kA << Vec{4.2f, 54.8f, 2.5f} << kP;
    }
    // clang-format on

    void canineGuidanceFaults() {
        QFETCH(Vec, a);
        QFETCH(Vec, b);
        QFETCH(Vec, P);
        Run r;
        r.calc.canineTableAngle = 12.5f;
        r.calc.condDist = 0;
        const auto fault = faultOf([&] { r.canine(45, a, b, P); });
        QVERIFY(fault);
        QCOMPARE(fault->kind(), FaultKind::DivisionByZero);
        QCOMPARE(r.calc.canineTableAngle, 12.5f);
        QCOMPARE(r.calc.condDist, 110.0f);
    }

    // A canine point that no hinge angle within the bracket brings onto the plane
    // ends the search at a bracket end. The angle found there depends only on the
    // condyles, so across guidance angles the results differ by the compensation
    // factor alone: the same table as after a converged search.
    // clang-format off
    void nonConvergedSearchCompensates_data() {
        QTest::addColumn<Vec>("P");
        QTest::addColumn<float>("fwgrad");
        QTest::addColumn<double>("factor");

        const Vec behind{-66, 13.5f, 50};  // behind the condylar axis: a rising end angle
        const struct {
            float fwgrad;
            double factor;
        } bands[] = {{41, 1.07}, {44, 1.1}, {46, 1.13}, {48, 1.15}, {50, 1.17}, {52, 1.185}, {54, 1.3}};
        for (const auto& band : bands)
            QTest::addRow("behind the axis, guidance %g", double(band.fwgrad)) << behind << band.fwgrad << band.factor;

        const Vec high{66, 13.5f, -1000};  // far above the axis: a falling end angle, always 0.88
        for (float fwgrad : {0.0f, 44.0f, 54.0f, 89.0f})
            QTest::addRow("far above, guidance %g", double(fwgrad)) << high << fwgrad << 0.88;
    }
    // clang-format on

    void nonConvergedSearchCompensates() {
        QFETCH(Vec, P);
        QFETCH(float, fwgrad);
        QFETCH(double, factor);
        Run r;
        QVERIFY(r.canine(30, kA, kB, P));  // a guidance of 30 takes 1.05 or 0.88
        QVERIFY(!r.calc.lastConverged);
        const float atThirty = r.calc.canineTableAngle;
        const double reference = atThirty / (atThirty > 0 ? 1.05 : 0.88);

        QVERIFY(r.canine(fwgrad, kA, kB, P));
        QVERIFY(!r.calc.lastConverged);
        QCOMPARE(r.calc.lastEvaluations, 1001);
        const double uncompensated = r.calc.canineTableAngle / factor;
        QVERIFY2(std::fabs(uncompensated - reference) <= 3e-7 * std::fabs(reference),
                 qPrintable(QStringLiteral("%1 against %2").arg(uncompensated, 0, 'g', 9).arg(reference, 0, 'g', 9)));
    }

    // Between a guidance angle whose plane the canine just reaches at the bracket
    // end and its neighbouring single that it just misses, the two endings of the
    // search must give the same value up to rounding.
    void nonConvergedMatchesConvergedEnding() {
        Run r;
        float missed = -89, reached = -60;
        r.canine(missed);
        QVERIFY(!r.calc.lastConverged);
        r.canine(reached);
        QVERIFY(r.calc.lastConverged);
        while (std::nextafter(missed, reached) != reached) {
            const float mid = float((double(missed) + double(reached)) / 2);
            r.canine(mid);
            (r.calc.lastConverged ? reached : missed) = mid;
        }
        QVERIFY(r.canine(missed));
        QCOMPARE(r.calc.lastEvaluations, 1001);
        const float notConverged = r.calc.canineTableAngle;
        r.canine(reached);
        QVERIFY(r.calc.lastConverged);
        const float converged = r.calc.canineTableAngle;
        QVERIFY(converged < 0);  // both take the factor 0.88
        QVERIFY2(std::fabs(notConverged - converged) <= 1e-6 * std::fabs(converged),
                 shown(notConverged) + " against " + shown(converged));
    }

    // clang-format off
    void compensate_data() {
        QTest::addColumn<float>("rot");
        QTest::addColumn<float>("fwgrad");
        QTest::addColumn<float>("result");

        const auto above = [](float bound) { return std::nextafter(bound, 1000.0f); };
        QTest::newRow("40") << 10.0f << 40.0f << 10.5f;
        QTest::newRow("40.0001") << 10.0f << 40.0001f << 10.7f;
        QTest::newRow("just above 40") << 10.0f << above(40) << 10.7f;
        QTest::newRow("42.5") << 10.0f << 42.5f << 10.7f;
        QTest::newRow("just above 42.5") << 10.0f << above(42.5f) << 11.0f;
        QTest::newRow("45") << 10.0f << 45.0f << 11.0f;
        QTest::newRow("just above 45") << 10.0f << above(45) << 11.3f;
        QTest::newRow("47") << 10.0f << 47.0f << 11.3f;
        QTest::newRow("just above 47") << 10.0f << above(47) << 11.5f;
        QTest::newRow("49") << 10.0f << 49.0f << 11.5f;
        QTest::newRow("just above 49") << 10.0f << above(49) << 11.7f;
        QTest::newRow("51") << 10.0f << 51.0f << 11.7f;
        QTest::newRow("just above 51") << 10.0f << above(51) << 11.85f;
        QTest::newRow("53") << 10.0f << 53.0f << 11.85f;
        QTest::newRow("just above 53") << 10.0f << above(53) << 13.0f;
        QTest::newRow("55, the driver's largest") << 10.0f << 55.0f << 13.0f;
        QTest::newRow("negative guidance") << 10.0f << -5.0f << 10.5f;
        QTest::newRow("radians, 45") << 0.5f << 45.0f << 0.55f;
        QTest::newRow("rot 0, guidance 40") << 0.0f << 40.0f << 0.0f;
        QTest::newRow("rot 0, guidance 55") << 0.0f << 55.0f << 0.0f;
        QTest::newRow("rot 0, negative guidance") << 0.0f << -5.0f << 0.0f;
        QTest::newRow("rot -10, guidance 0") << -10.0f << 0.0f << -8.8f;
        QTest::newRow("rot -10, guidance 42.5") << -10.0f << 42.5f << -8.8f;
        QTest::newRow("rot -10, guidance 55") << -10.0f << 55.0f << -8.8f;
        QTest::newRow("rot -10, negative guidance") << -10.0f << -5.0f << -8.8f;
    }
    // clang-format on

    void compensate() {
        QFETCH(float, rot);
        QFETCH(float, fwgrad);
        QFETCH(float, result);
        const float got = Calculation::compensate(rot, fwgrad);
        QVERIFY2(got == result, shown(got) + " (" + QByteArray::number(got, 'g', 9) + ")");
    }

    void compensateBeyondSingleRange() {
        const auto fault = faultOf([] { Calculation::compensate(3e38f, 55); });
        QVERIFY(fault);
        QCOMPARE(fault->kind(), FaultKind::SingleRange);
        QCOMPARE(shown(Calculation::compensate(3e38f, 30)), "3.15E+38"_ba);
        QCOMPARE(shown(Calculation::compensate(-3e38f, 55)), "-2.64E+38"_ba);
    }

    // clang-format off
    void elementChoice_data() {
        QTest::addColumn<TablePosition>("position");
        QTest::addColumn<float>("inclination");
        QTest::addColumn<TableElement>("element");

        const auto below = [](float bound) { return std::nextafter(bound, -1000.0f); };
        const auto wing = TablePosition::Wing, front = TablePosition::Front;
        QTest::newRow("wing -10000") << wing << -10000.0f << TableElement::Blue;
        QTest::newRow("wing 52.99") << wing << 52.99f << TableElement::Blue;
        QTest::newRow("wing just below 53") << wing << below(53) << TableElement::Blue;
        QTest::newRow("wing 53") << wing << 53.0f << TableElement::Green;
        QTest::newRow("wing just below 56.5") << wing << below(56.5f) << TableElement::Green;
        QTest::newRow("wing 56.5") << wing << 56.5f << TableElement::Orange;
        QTest::newRow("wing just below 61.5") << wing << below(61.5f) << TableElement::Orange;
        QTest::newRow("wing 61.5") << wing << 61.5f << TableElement::OrangeYellow;
        QTest::newRow("wing largest single") << wing << std::numeric_limits<float>::max() << TableElement::OrangeYellow;
        QTest::newRow("front -10000") << front << -10000.0f << TableElement::Blue;
        QTest::newRow("front just below 47.5") << front << below(47.5f) << TableElement::Blue;
        QTest::newRow("front 47.5") << front << 47.5f << TableElement::Green;
        QTest::newRow("front just below 51") << front << below(51) << TableElement::Green;
        QTest::newRow("front 51") << front << 51.0f << TableElement::Orange;
        QTest::newRow("front just below 56.5") << front << below(56.5f) << TableElement::Orange;
        QTest::newRow("front 56.5") << front << 56.5f << TableElement::OrangeYellow;
    }
    // clang-format on

    void elementChoice() {
        QFETCH(TablePosition, position);
        QFETCH(float, inclination);
        QFETCH(TableElement, element);
        QCOMPARE(chooseElement(position, inclination), element);
    }

    // clang-format off
    void tiles_data() {
        QTest::addColumn<float>("front");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("right");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<Rgb>("box");
        QTest::addColumn<Rgb>("back");
        QTest::addColumn<Rgb>("fore");

        // The engine names each element as the window gives it (the map
        // fields give the English names).
        using namespace colors;
        const struct {
            float front, left, right;
            Rgb box, back, fore;
            const char* name;
        } elements[] = {
            {-10000, 0, 52.99f, blue, blue, white, "blue"},
            {47.5f, 53, 56.49f, green, green, black, "green"},
            {51, 56.5f, 61.49f, orange, orange, black, "orange"},
            {56.5f, 61.5f, 70, orange, orange, black, "orange (yellow)"},
        };
        for (const auto& e : elements)
            QTest::addRow("%s", e.name) << e.front << e.left << e.right << QByteArray(e.name) << e.box << e.back
                                        << e.fore;
    }
    // clang-format on

    void tiles() {
        QFETCH(float, front);
        QFETCH(float, left);
        QFETCH(float, right);
        QFETCH(QByteArray, name);
        QFETCH(Rgb, box);
        QFETCH(Rgb, back);
        QFETCH(Rgb, fore);
        Run r;
        r.calc.findTableColors(front, left, right);
        const std::pair<Field, Field> tiles[] = {{Field::lblRightTableColor, Field::txtRightTableColor},
                                                 {Field::lblLeftTableColor, Field::txtLeftTableColor},
                                                 {Field::lblFrontTableColor, Field::txtFrontTableColor}};
        for (const auto& [label, field] : tiles) {
            QCOMPARE(text(r.fields, field), name);
            QCOMPARE(r.fields.back.at(label), box);
            QCOMPARE(r.fields.back.at(field), back);
            QCOMPARE(r.fields.fore.at(field), fore);
        }
    }

    // clang-format off
    void runs_data() {
        QTest::addColumn<QByteArray>("edits");
        QTest::addColumn<QByteArray>("ag");
        QTest::addColumn<QByteArray>("agtable");
        QTest::addColumn<QByteArray>("canine");  // both canineright and canineleft
        QTest::addColumn<QByteArray>("frontTile");

        QTest::newRow("start-up inputs") << ""_ba << "51.091"_ba << "50.67337"_ba << "41.091"_ba << "green"_ba;
        QTest::newRow("both SCI 30") << "SCIleft= 30|SCIright= 30"_ba << "43.96551"_ba << "44.27916"_ba << "33.96551"_ba << "blue"_ba;
        QTest::newRow("SCI 40 and 50") << "SCIleft= 40|SCIright= 50"_ba << "51.091"_ba << "50.67337"_ba << "41.091"_ba << "green"_ba;
        QTest::newRow("mean SCI 80, guidance limited") << "SCIleft= 80|SCIright= 80"_ba << "65.932"_ba << "73.41174"_ba << "55"_ba << "orange (yellow)"_ba;
        QTest::newRow("comma in SCIleft") << "SCIleft=30,5|SCIright= 30"_ba << "43.96551"_ba << "44.27916"_ba << "33.96551"_ba << "blue"_ba;
        QTest::newRow("front distances empty") << "txtFrontX=|txtFrontZ="_ba << "51.091"_ba << "-10000"_ba << "41.091"_ba << "blue"_ba;
    }
    // clang-format on

    void runs() {
        QFETCH(QByteArray, edits);
        QFETCH(QByteArray, ag);
        QFETCH(QByteArray, agtable);
        QFETCH(QByteArray, canine);
        QFETCH(QByteArray, frontTile);
        Run r;
        applyEdits(r.fields, edits);
        QVERIFY(r.calc.calctable());
        QVERIFY(r.log.faults.empty());
        QCOMPARE(text(r.fields, Field::ag), ag);
        QCOMPARE(text(r.fields, Field::agtable), agtable);
        QCOMPARE(text(r.fields, Field::canineright), canine);
        QCOMPARE(text(r.fields, Field::canineleft), canine);
        QCOMPARE(text(r.fields, Field::txtFrontTableColor), frontTile);
    }

    // clang-format off
    void equivalentInputs_data() {
        QTest::addColumn<QByteArray>("edits");
        QTest::addColumn<QByteArray>("sameAs");

        QTest::newRow("empty front distance") << "txtFrontX="_ba << "txtFrontX=0"_ba;
        QTest::newRow("letters") << "txtFrontX=abc"_ba << "txtFrontX=0"_ba;
        QTest::newRow("comma") << "SCIleft=40,9"_ba << "SCIleft=40"_ba;
        QTest::newRow("blanks and tabs") << "TCIright=\t1 2\n"_ba << "TCIright=12"_ba;
        QTest::newRow("hexadecimal") << "SCIright=&H32"_ba << "SCIright=50"_ba;
        QTest::newRow("exponent") << "txtLeftZ=0.5E2"_ba << "txtLeftZ=50.0"_ba;
    }
    // clang-format on

    void equivalentInputs() {
        QFETCH(QByteArray, edits);
        QFETCH(QByteArray, sameAs);
        Run a, b;
        applyEdits(a.fields, edits);
        applyEdits(b.fields, sameAs);
        QVERIFY(a.calc.calctable());
        QVERIFY(b.calc.calctable());
        for (Field f : kResults)
            QCOMPARE(text(a.fields, f), text(b.fields, f));
    }

    // clang-format off
    void crossWiring_data() {
        QTest::addColumn<QByteArray>("edits");
        QTest::addColumn<QByteArray>("changed");

        QTest::newRow("TCIleft") << "TCIleft= 10"_ba << "caninetableright"_ba;
        QTest::newRow("txtLeftX") << "txtLeftX=70"_ba << "caninetableright"_ba;
        QTest::newRow("txtLeftY") << "txtLeftY=15"_ba << "caninetableright"_ba;
        QTest::newRow("txtLeftZ") << "txtLeftZ=45"_ba << "caninetableright"_ba;
        QTest::newRow("TCIright") << "TCIright= 10"_ba << "caninetableleft"_ba;
        QTest::newRow("txtRightX") << "txtRightX=70"_ba << "caninetableleft"_ba;
        QTest::newRow("txtRightY") << "txtRightY=15"_ba << "caninetableleft"_ba;
        QTest::newRow("txtRightZ") << "txtRightZ=45"_ba << "caninetableleft"_ba;
        QTest::newRow("SCI apart, same mean") << "SCIleft= 40|SCIright= 50"_ba << "caninetableright,caninetableleft"_ba;
        QTest::newRow("SCIleft") << "SCIleft= 50"_ba << "ag,agtable,canineright,caninetableright,canineleft,caninetableleft"_ba;
        QTest::newRow("SCIright") << "SCIright= 50"_ba << "ag,agtable,canineright,caninetableright,canineleft,caninetableleft"_ba;
        QTest::newRow("txtFrontX") << "txtFrontX=80"_ba << "agtable"_ba;
        QTest::newRow("txtFrontZ") << "txtFrontZ=40"_ba << "agtable"_ba;
    }
    // clang-format on

    void crossWiring() {
        QFETCH(QByteArray, edits);
        QFETCH(QByteArray, changed);
        Run base, edited;
        applyEdits(edited.fields, edits);
        QVERIFY(base.calc.calctable());
        QVERIFY(edited.calc.calctable());
        std::vector<Field> differ;
        for (Field f : kResults)
            if (base.fields.text(f) != edited.fields.text(f))
                differ.push_back(f);
        QCOMPARE(namesOf(differ), changed);
    }

    // Swapping the two SCI fields swaps the two wings: the right wing follows
    // SCIleft, the left wing SCIright.
    void eachWingFollowsTheOtherSide() {
        Run a, b;
        applyEdits(a.fields, "SCIleft= 40|SCIright= 50");
        applyEdits(b.fields, "SCIleft= 50|SCIright= 40");
        QVERIFY(a.calc.calctable());
        QVERIFY(b.calc.calctable());
        QVERIFY(text(a.fields, Field::caninetableright) != text(a.fields, Field::caninetableleft));
        QCOMPARE(text(a.fields, Field::caninetableright), text(b.fields, Field::caninetableleft));
        QCOMPARE(text(a.fields, Field::caninetableleft), text(b.fields, Field::caninetableright));
        // The front takes the mean only.
        QCOMPARE(text(a.fields, Field::agtable), text(b.fields, Field::agtable));
    }

    void writeOrder() {
        Run r;
        for (int run = 0; run < 2; ++run) {
            r.fields.writes.clear();
            QVERIFY(r.calc.calctable());
            QCOMPARE(namesOf(r.fields.writes),
                     QByteArray("ag,agtable,canineright,caninetableright,canineleft,caninetableleft,"
                                "txtRightTableColor,txtLeftTableColor,txtFrontTableColor"));
        }
        for (Field f : {Field::lblRightTableColor, Field::txtRightTableColor, Field::lblLeftTableColor,
                        Field::txtLeftTableColor, Field::lblFrontTableColor, Field::txtFrontTableColor})
            QVERIFY2(r.fields.back.count(f), fieldName(f).data());
    }

    void leftoverStateDoesNotMatter() {
        Run fresh, used;
        Calculation& c = used.calc;
        c.tablePivotX = 0, c.condDist = 0, c.fwgrad = 89, c.canineTableAngle = -1;
        c.agAngle = c.agTableAngle = 7;
        c.ax = c.ay = c.az = c.bx = c.by = c.bz = c.Px = c.Py = c.Pz = 7;
        QVERIFY(fresh.calc.calctable());
        QVERIFY(used.calc.calctable());
        QCOMPARE(used.fields.texts, fresh.fields.texts);
    }

    // clang-format off
    void faults_data() {
        QTest::addColumn<QByteArray>("edits");
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<CalcStage>("stage");
        QTest::addColumn<QByteArray>("written");

        const QByteArray front = "ag,agtable";
        const QByteArray frontAndRight = "ag,agtable,canineright,caninetableright";
        QTest::newRow("txtFrontX 1e39") << "txtFrontX=1e39"_ba << FaultKind::SingleRange << CalcStage::Reading << ""_ba;
        QTest::newRow("txtFrontZ -1e39") << "txtFrontZ=-1e39"_ba << FaultKind::SingleRange << CalcStage::Reading << ""_ba;
        QTest::newRow("txtFrontX 1E309") << "txtFrontX=1E309"_ba << FaultKind::NumberTextTooLarge << CalcStage::Reading << ""_ba;
        QTest::newRow("SCI sum overflows") << "SCIleft= 1e308|SCIright= 1e308"_ba << FaultKind::Overflow << CalcStage::Reading << ""_ba;
        QTest::newRow("SCI mean beyond single") << "SCIleft= 1e39|SCIright= 1e39"_ba << FaultKind::SingleRange << CalcStage::Reading << ""_ba;
        QTest::newRow("opposed SCI beyond single") << "SCIleft= 5e38|SCIright=-5e38"_ba << FaultKind::SingleRange << CalcStage::RightCanine << front;
        QTest::newRow("TCIleft beyond single") << "TCIleft= 1e39"_ba << FaultKind::SingleRange << CalcStage::RightCanine << front;
        QTest::newRow("TCIright beyond single") << "TCIright= 1e39"_ba << FaultKind::SingleRange << CalcStage::LeftCanine << frontAndRight;
        QTest::newRow("txtRightZ beyond double") << "txtRightZ=1E400"_ba << FaultKind::NumberTextTooLarge << CalcStage::LeftCanine << frontAndRight;
        QTest::newRow("left canine point (0, 55, 50)") << "txtLeftX=0|txtLeftY=55"_ba << FaultKind::DivisionByZero << CalcStage::RightCanine << front;
        QTest::newRow("right canine point (0, 55, 0)") << "txtRightX=0|txtRightY=55|txtRightZ=0"_ba << FaultKind::DivisionByZero << CalcStage::LeftCanine << frontAndRight;
    }
    // clang-format on

    void faults() {
        QFETCH(QByteArray, edits);
        QFETCH(FaultKind, kind);
        QFETCH(CalcStage, stage);
        QFETCH(QByteArray, written);
        Run r;
        // A good run first, so that "kept" means kept from it.
        QVERIFY(r.calc.calctable());
        const MapFields before = r.fields;
        applyEdits(r.fields, edits);
        r.fields.writes.clear();

        QVERIFY(!r.calc.calctable());
        QCOMPARE(r.log.faults.size(), std::size_t(1));
        QCOMPARE(r.log.faults[0].kind(), kind);
        QCOMPARE(r.log.faults[0].stage(), stage);
        QCOMPARE(namesOf(r.fields.writes), written);
        for (Field f : kResults)
            if (!written.split(',').contains(QByteArray::fromStdString(std::string(fieldName(f)))))
                QCOMPARE(text(r.fields, f), text(before, f));
        for (Field f : {Field::txtRightTableColor, Field::txtLeftTableColor, Field::txtFrontTableColor})
            QCOMPARE(text(r.fields, f), text(before, f));
        QVERIFY(r.fields.back == before.back && r.fields.fore == before.fore);
        QVERIFY(!showsNonFinite(r.fields));

        // Each run reports its own fault, once.
        QVERIFY(!r.calc.calctable());
        QCOMPARE(r.log.faults.size(), std::size_t(2));
    }

    // Whatever the texts, a run either completes with finite results or stops
    // with one fault, and the fields written before it are the ones of the
    // stages that completed.
    void extremeInputsNeverShowNonFiniteText() {
        const char* const texts[] = {"",      " 45",  "0",     "-0",     "30,5",   "abc",  "55",    "-55",
                                     "90",    "-90",  "180",   "1e6",    "-1e6",   "1e20", "-1e20", "3e38",
                                     "-3e38", "1e39", "1E309", "&HFFFF", "0.0001", "1e-30"};
        const Field inputs[] = {Field::txtFrontX, Field::txtFrontZ, Field::SCIleft,   Field::SCIright,
                                Field::TCIleft,   Field::TCIright,  Field::txtLeftX,  Field::txtLeftY,
                                Field::txtLeftZ,  Field::txtRightX, Field::txtRightY, Field::txtRightZ};
        std::mt19937 gen(1234u);
        std::uniform_int_distribution<std::size_t> pick(0, std::size(texts) - 1);
        std::bernoulli_distribution keepDefault(0.6);
        int completed = 0;
        for (int run = 0; run < 2000; ++run) {
            Run r;
            for (Field f : inputs)
                if (!keepDefault(gen))
                    r.fields.texts[f] = texts[pick(gen)];
            QByteArrayList given;
            for (Field f : inputs)
                given << QByteArray::fromStdString(std::string(fieldName(f)) + "=" + r.fields.text(f));
            const bool ok = r.calc.calctable();
            QVERIFY2(!showsNonFinite(r.fields), given.join('|'));
            QCOMPARE(ok, r.log.faults.empty());
            QVERIFY(r.log.faults.size() <= 1);
            if (ok) {
                ++completed;
                QCOMPARE(r.fields.writes.size(), std::size_t(9));
                continue;
            }
            const std::size_t writes = r.fields.writes.size();
            switch (r.log.faults[0].stage()) {
                case CalcStage::Reading: QCOMPARE(writes, std::size_t(0)); break;
                case CalcStage::FrontGuidance: QVERIFY(writes == 0 || writes == 2); break;
                case CalcStage::RightCanine: QCOMPARE(writes, std::size_t(2)); break;
                case CalcStage::LeftCanine: QCOMPARE(writes, std::size_t(4)); break;
                case CalcStage::TableColors: QCOMPARE(writes, std::size_t(6)); break;
            }
        }
        QVERIFY(completed > 100);  // the sweep must not consist of faults alone
    }

    // Arguments where a C library (glibc, or Windows' under Wine) rounds the
    // other way, where the quick path must leave the result to the slow one,
    // and the reductions' extremes; the results are the correctly rounded
    // ones (mpmath at 200 bits).
    // clang-format off
    void exactFunctions_data() {
        QTest::addColumn<char>("function");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        const auto row = [](const char* name, char f, double x, double y) { QTest::newRow(name) << f << x << y; };
        row("sin, glibc", 's', 0x1.b6e72e7792cb8p-3, 0x1.b38d1532bf86dp-3);
        row("cos, glibc", 'c', 0x1.1398b0e953a21p-1, 0x1.b799b77a083c3p-1);
        row("tan, glibc", 't', -0x1.ba1b0cc72d0ddp-2, -0x1.d7ca78f699293p-2);
        row("atan, glibc", 'a', -0x1.450e5d1d47a3ap-2, -0x1.3ac0fe988f548p-2);
        row("atan above 1, glibc", 'a', 0x1.437d91240df69p+0, 0x1.cd7c93385fcdep-1);
        row("cos reduced, glibc", 'c', 0x1.62e80d936dd39p+0, 0x1.7799e38bc188fp-3);
        row("tan reduced, glibc", 't', -0x1.6b771de0161f7p+0, -0x1.a496274ab06b9p+2);
        row("sin of 2^37, glibc", 's', -0x1.c3df8c8357ab6p+36, 0x1.d2045e018bbdbp-3);
        row("tan of 2^105, glibc", 't', 0x1.3bd7dfaf40038p+105, -0x1.5f0b4b5690dfdp+2);
        row("sin, Wine", 's', 0x1.4d84584bd63b1p+0, 0x1.edb932fa2d929p-1);
        row("cos, Wine", 'c', -0x1.90901abe33464p+0, 0x1.8f99e3c8b44ebp-8);
        row("tan, Wine", 't', 0x1.6487fba2937ddp-2, 0x1.73ac39d96792fp-2);
        row("atan, Wine", 'a', -0x1.156d3724add8ap+1, -0x1.2375d14f52c61p+0);
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
        QFETCH(char, function);
        QFETCH(double, x);
        QFETCH(double, expected);
        QCOMPARE(hex(exactOf(function, x)), hex(expected));
        if (function == 's' || function == 'c') {
            double s, c;
            exact::sinCos(x, s, c);
            QCOMPARE(hex(function == 's' ? s : c), hex(expected));
        }
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
                    QFAIL(qPrintable(u"function %1 at %2: %3, slow path %4"_s.arg(f)
                                         .arg(hex(f == 3 ? q : x))
                                         .arg(hex(quick[f]))
                                         .arg(hex(slow[f]))));
        }
    }
};

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
