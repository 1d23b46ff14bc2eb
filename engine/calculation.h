// One complete calculation of the incisal table settings and the state it
// shares between its steps.
#pragma once

#include <optional>

#include "fault.h"
#include "table_elements.h"
#include "worksheet.h"

namespace kx {

class Calculation {
public:
    explicit Calculation(Worksheet& sheet) : sheet_(sheet) {}

    // Reads the worksheet's input fields, writes its six result fields and
    // its three tiles, naming each element as `names` do. A fault stops the
    // run where it arises: the fields written up to there keep their new
    // text, the tiles stay as they were. Returns the fault, if any.
    std::optional<CalcFault> calctable(const ElementNames& names);

    // The steps, public so that each can be checked on its own.
    void calcfw1(float hci, float Ph, float Pv);
    void calc_ax(float hci, float ben, float s, float retx, float retz);
    bool calc_ga(const float& fwgrad, const float& ax, const float& ay, const float& az, const float& bx,
                 const float& by, const float& bz, const float& Px, const float& Py, const float& Pz);
    static float compensate(const float& rot, const float& fwgrad);
    void findTableColors(const float& front, const float& left, const float& right, const ElementNames& names);

    // The state shared by the steps; zero until a run sets it and kept
    // between runs.
    float agAngle = 0, agTableAngle = 0, fwgrad = 0;
    float ax = 0, ay = 0, az = 0, bx = 0, by = 0, bz = 0;
    float Px = 0, Py = 0, Pz = 0;
    float canineTableAngle = 0, tablePivotX = 0, condDist = 0;

    // How the last canine search ended, for tests and benchmarks.
    int lastEvaluations = 0;
    bool lastConverged = false;

private:
    double parse(Field f) const;
    float parseSingle(Field f) const;
    void show(Field f, float value);
    void canineRun(Field sci, Field tci, Field x, Field y, Field z, Field angleOut, Field tableOut);

    Worksheet& sheet_;
};

}  // namespace kx
