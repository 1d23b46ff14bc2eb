#include "calculation.h"

#include <cmath>
#include <cstdint>

#include "checked.h"
#include "number_text.h"
#include "table_elements.h"

namespace kx {

namespace {

constexpr Dbl kDegToRad{0.017453292222222222};  // pi taken as 3.1415926
constexpr Dbl kRadToDeg{57.295780490442965};

}  // namespace

double Calculation::parse(Field f) const { return leadingNumber(sheet_[f]); }

float Calculation::parseSingle(Field f) const { return toSgl(Dbl(parse(f))).v; }

void Calculation::show(Field f, float value) { sheet_[f] = resultText(value); }

std::optional<CalcFault> Calculation::calctable(const ElementNames& names) {
    CalcStage stage = CalcStage::Reading;
    try {
        const float Ph = parseSingle(Field::txtFrontX);
        const float Pv = parseSingle(Field::txtFrontZ);
        tablePivotX = 120;
        const Dbl r = parse(Field::SCIright);
        const Dbl l = parse(Field::SCIleft);
        const Sgl meanSci = toSgl((l + r) / 2.0);

        stage = CalcStage::FrontGuidance;
        calcfw1(meanSci.v, Ph, Pv);
        show(Field::ag, agAngle);
        show(Field::agtable, agTableAngle);
        fwgrad = (Sgl(agAngle) - Sgl(10.0f)).v;
        if (fwgrad > 55)
            fwgrad = 55;

        // Each canine wing follows the condylar path of the other side.
        stage = CalcStage::RightCanine;
        canineRun(Field::SCIleft, Field::TCIleft, Field::txtLeftX, Field::txtLeftY, Field::txtLeftZ, Field::canineright,
                  Field::caninetableright);
        stage = CalcStage::LeftCanine;
        canineRun(Field::SCIright, Field::TCIright, Field::txtRightX, Field::txtRightY, Field::txtRightZ,
                  Field::canineleft, Field::caninetableleft);

        // The choice works on the shown values, not on the state.
        stage = CalcStage::TableColors;
        const float front = parseSingle(Field::agtable);
        const float left = parseSingle(Field::caninetableleft);
        const float right = parseSingle(Field::caninetableright);
        findTableColors(front, left, right, names);
        return std::nullopt;
    } catch (CalcFault& fault) {
        fault.setStage(stage);
        return fault;
    }
}

void Calculation::canineRun(Field sci, Field tci, Field x, Field y, Field z, Field angleOut, Field tableOut) {
    Px = parseSingle(x);
    Py = parseSingle(y);
    Pz = parseSingle(z);
    const float sciValue = parseSingle(sci);
    const float tciValue = parseSingle(tci);
    calc_ax(sciValue, tciValue, 5, 0, 0);
    calc_ga(fwgrad, ax, ay, az, bx, by, bz, Px, Py, Pz);
    show(angleOut, fwgrad);
    show(tableOut, canineTableAngle);
}

void Calculation::calcfw1(float hciIn, float PhIn, float PvIn) {
    const Sgl hci(hciIn), Ph(PhIn), Pv(PvIn);
    const Dbl v = -Dbl(Pv);

    Dbl fw;
    if (hci.v <= 30)
        fw = hci * 0.715517 + 22.5;
    if (hci.v > 30 && hci.v <= 58)
        fw = (hci - 30.0) * 0.475 + 43.966;
    if (hci.v > 58)
        fw = (hci - 58.0) * 0.406 + 57.0;
    if (fw > 70.0)
        fw = 70.0;
    agAngle = toSgl(fw).v;

    const Dbl hRad = hci * kDegToRad;
    const Dbl fRad = fw * kDegToRad;
    const Dbl cotH = 1.0 / (tan(hRad) + 1e-9);

    // The centre of rotation C = (x, z): where the normal to the condylar path
    // through the condyle meets the normal to the anterior guidance through
    // the incisal point.
    Dbl x;
    Dbl xFromPivot;
    if (!(fRad == 0.0)) {
        const Dbl cotF = 1.0 / tan(fRad);
        x = (v - cotF * Ph) / ((cotH - cotF) + 1e-5);
        xFromPivot = x - Sgl(tablePivotX);
    } else {
        x = Ph;
        xFromPivot = Ph - Sgl(tablePivotX);  // both single here, so a single difference
    }
    const Dbl z = x * cotH;
    if (!(z == 0.0))
        agTableAngle = toSgl(atan(xFromPivot / (z + 0.0001)) * kRadToDeg).v;
    else
        agTableAngle = -10000;
}

void Calculation::calc_ax(float hciIn, float benIn, float sIn, float retx, float retz) {
    condDist = 110;
    const Sgl hci(hciIn), ben(benIn), s(sIn), cd(condDist);
    const Dbl B = ben * kDegToRad;
    const Dbl H = hci * kDegToRad;
    Dbl sinB, cosB, sinH, cosH;
    sinCos(B, sinB, cosB);
    sinCos(H, sinH, cosH);
    const Dbl bxD = s * cosB * cosH;
    const Dbl byD = (-Dbl(cd) / 2.0) + s * sinB;
    const Sgl bzS = toSgl(s * cosB * sinH);

    const Sgl Q = cd * cd;
    const Sgl Z2 = bzS * bzS;
    const Dbl root = sqrt(Q - (bxD * bxD + Z2));
    const Dbl ayD = byD + root;

    const Sgl ayS = toSgl(ayD), bxS = toSgl(bxD), byS = toSgl(byD);
    ax = retx;
    ay = ayS.v;
    az = retz;
    bx = bxS.v;
    by = byS.v;
    bz = bzS.v;
}

namespace {

// A point or a direction.
struct Vec {
    Dbl x, y, z;
};
Vec operator/(const Vec& v, const Dbl& d) { return {v.x / d, v.y / d, v.z / d}; }

// The guidance plane through the canine point P, as C . q + D = 0 with C of
// unit length; L is the length of C before it was made so.
struct Plane {
    Vec C;
    Dbl D, L;
};

Plane guidancePlane(Sgl fw, Sgl px, Sgl py, Sgl pz, const Dbl& h) {
    const Sgl aRad = toSgl(fw * kDegToRad);
    const Dbl d1 = sqrt(Dbl(px * px) + (py - h) * (py - h));

    // Both directions are made unit length with the square of px taken in
    // single precision, as the results have always been worked out.
    // Tangential direction: horizontal part perpendicular to the line from
    // (0, h) to P, rising by the guidance angle.
    const Dbl U1 = h - py, U3 = tan(aRad) * d1;
    const Vec U = Vec{U1, px, U3} / sqrt(U1 * U1 + px * px + U3 * U3);

    // Radial direction, horizontally from P towards (0, h).
    const Sgl negPx = -px;
    const Dbl V2 = h - py, V3 = 0.0;
    const Vec V = Vec{negPx, V2, V3} / sqrt(negPx * negPx + V2 * V2 + V3 * V3);

    // The normal C = U x V.
    const Vec C{U.y * V.z - U.z * V.y, U.z * V.x - U.x * V.z, U.x * V.y - U.y * V.x};
    const Dbl L = sqrt(C.x * C.x + C.y * C.y + C.z * C.z);
    const Dbl D = -(px * C.x + py * C.y + pz * C.z);
    return {C / L, D / L, L};
}

// The condylar axis after the condylar movement: a point turned by the hinge
// angle (its cosine c and sine s) about that axis.
struct HingeAxis {
    Dbl cos1, sin1, cos2, sin2, Mx, My, Mz;

    HingeAxis(Sgl a_x, Sgl a_y, Sgl a_z, Sgl b_x, Sgl b_y, Sgl b_z) {
        const Dbl theta1 = -atan((a_x - b_x) / (a_y - b_y));
        const Dbl theta2 = atan((a_z - b_z) / (a_y - b_y));
        sinCos(theta1, sin1, cos1);
        sinCos(theta2, sin2, cos2);
        Mx = Dbl(a_x + b_x) / 2.0;
        My = Dbl(a_y + b_y) / 2.0;
        Mz = Dbl(a_z + b_z) / 2.0;
    }

    Vec move(const Dbl& c, const Dbl& s, Dbl qx, Dbl qy, Dbl qz) const {
        const Dbl x1 = qx * c - qz * s, y1 = qy, z1 = qx * s + qz * c;
        const Dbl x2 = x1 * cos1 - y1 * sin1, y2 = x1 * sin1 + y1 * cos1, z2 = z1;
        const Dbl x3 = x2, y3 = y2 * cos2 - z2 * sin2, z3 = y2 * sin2 + z2 * cos2;
        return Vec{x3 + Mx, y3 + My, z3 + Mz};
    }
};

// Bisection on the hinge angle until the canine point lies on the guidance
// plane. Ends with the cosine and sine of the last angle tried.
struct HingeSearch {
    Dbl c, s;
    bool converged = false;
    int evaluations = 0;
};

HingeSearch searchHinge(const Plane& plane, const HingeAxis& axis, Sgl px, Sgl py, Sgl pz) {
    HingeSearch r;
    const auto distance = [&](Dbl phi) {
        sinCos(phi * kDegToRad, r.s, r.c);
        const Vec p = axis.move(r.c, r.s, px, py, pz);
        return (plane.C.x * p.x + plane.C.y * p.y + plane.C.z * p.z + plane.D) / plane.L;
    };
    Dbl lo = -25.0, hi = 25.0, phi = 25.0, f = 10.0;
    for (std::int16_t n = 0;; ++n) {
        if (n > 1000)
            break;
        if (f > 0.0)
            hi = phi;
        else
            lo = phi;
        phi = (hi + lo) / 2.0;
        f = distance(phi);
        ++r.evaluations;
        if (abs(f) < 0.0001) {
            r.converged = true;
            break;
        }
    }
    return r;
}

}  // namespace

bool Calculation::calc_ga(const float& fwgradIn, const float& axIn, const float& ayIn, const float& azIn,
                          const float& bxIn, const float& byIn, const float& bzIn, const float& PxIn, const float& PyIn,
                          const float& PzIn) {
    condDist = 110;
    const Sgl fw(fwgradIn), a_x(axIn), a_y(ayIn), a_z(azIn), b_x(bxIn), b_y(byIn), b_z(bzIn);
    const Sgl px(PxIn), py(PyIn), pz(PzIn);
    const Sgl cd(condDist);
    const Dbl h = Dbl(cd) / 2.0;

    const Plane plane = guidancePlane(fw, px, py, pz, h);
    const HingeAxis axis(a_x, a_y, a_z, b_x, b_y, b_z);
    const HingeSearch search = searchHinge(plane, axis, px, py, pz);
    lastEvaluations = search.evaluations;
    lastConverged = search.converged;

    // The inclination of the reference point's sideways displacement.
    const Vec I = axis.move(search.c, search.s, 120.0, 0.0, 0.0);
    const Sgl t = toSgl(atan(I.z / I.y));
    if (search.converged) {
        canineTableAngle = toSgl(t * kRadToDeg).v;
        canineTableAngle = compensate(canineTableAngle, fwgradIn);
    } else {
        canineTableAngle = toSgl(Sgl(compensate(t.v, fwgradIn)) * kRadToDeg).v;
    }
    return true;
}

float Calculation::compensate(const float& rot, const float& fwgrad) {
    const Sgl r(rot);
    if (!(rot > 0))
        return toSgl(r * 0.88).v;
    // A positive inclination grows by a factor that rises with the guidance
    // angle: each factor holds up to and including its angle.
    struct Step {
        double upTo, factor;
    };
    static constexpr Step kSteps[] = {{40, 1.05}, {42.5, 1.07}, {45, 1.1},   {47, 1.13},
                                      {49, 1.15}, {51, 1.17},   {53, 1.185}, {HUGE_VAL, 1.3}};
    for (const Step& step : kSteps)
        if (fwgrad <= step.upTo)
            return toSgl(r * step.factor).v;
    return 0;  // no guidance angle at all (not a number)
}

void Calculation::findTableColors(const float& front, const float& left, const float& right,
                                  const ElementNames& names) {
    struct Choice {
        TilePosition tile;
        TablePosition position;
        float inclination;
    };
    const Choice choices[] = {
        {TilePosition::Right, TablePosition::Wing, right},
        {TilePosition::Left, TablePosition::Wing, left},
        {TilePosition::Front, TablePosition::Front, front},
    };
    for (const Choice& c : choices) {
        const TableElement e = chooseElement(c.position, c.inclination);
        const ElementLook look = elementLook(e);
        Tile& tile = sheet_[c.tile];
        tile.text = names[std::size_t(e)];
        tile.box = look.box;
        tile.back = look.back;
        tile.fore = look.fore;
    }
}

}  // namespace kx
