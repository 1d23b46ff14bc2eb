// Arithmetic faults of a calculation run.
#pragma once

#include <stdexcept>
#include <string>

namespace kx {

enum class FaultKind {
    DivisionByZero,
    Overflow,          // a double-precision result beyond its range
    InvalidOperation,  // a result that is not a number
    NegativeSquareRoot,
    SingleRange,         // a value that does not fit single precision
    NumberTextTooLarge,  // a field text whose number is beyond double range
};

// Which step of a run was at work when the fault arose.
enum class CalcStage {
    Reading,
    FrontGuidance,
    RightCanine,
    LeftCanine,
    TableColors,
};

class CalcFault : public std::runtime_error {
public:
    CalcFault(FaultKind kind, CalcStage stage = CalcStage::Reading);
    FaultKind kind() const { return kind_; }
    CalcStage stage() const { return stage_; }
    void setStage(CalcStage stage);

private:
    FaultKind kind_;
    CalcStage stage_;
};

// Plain English, for logs and tests; the window words it in the user's language.
std::string describe(FaultKind kind);
std::string describe(CalcStage stage);

}  // namespace kx
