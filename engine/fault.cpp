#include "fault.h"

namespace kx {

CalcFault::CalcFault(FaultKind kind, CalcStage stage)
    : std::runtime_error(describe(kind) + " (" + describe(stage) + ")"), kind_(kind), stage_(stage) {}

void CalcFault::setStage(CalcStage stage) {
    stage_ = stage;
    static_cast<std::runtime_error&>(*this) = std::runtime_error(describe(kind_) + " (" + describe(stage) + ")");
}

std::string describe(FaultKind kind) {
    switch (kind) {
        case FaultKind::DivisionByZero: return "division by zero";
        case FaultKind::Overflow: return "overflow";
        case FaultKind::InvalidOperation: return "invalid floating-point operation";
        case FaultKind::NegativeSquareRoot: return "square root of a negative number";
        case FaultKind::SingleRange: return "value beyond single-precision range";
        case FaultKind::NumberTextTooLarge: return "number text beyond double-precision range";
    }
    return "arithmetic fault";
}

std::string describe(CalcStage stage) {
    switch (stage) {
        case CalcStage::Reading: return "reading the inputs";
        case CalcStage::FrontGuidance: return "front guidance";
        case CalcStage::RightCanine: return "right canine guidance";
        case CalcStage::LeftCanine: return "left canine guidance";
        case CalcStage::TableColors: return "table element choice";
    }
    return "calculation";
}

}  // namespace kx

namespace kx {
void raise(FaultKind kind) { throw CalcFault(kind); }
}  // namespace kx
