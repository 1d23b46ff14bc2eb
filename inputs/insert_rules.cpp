#include "insert_rules.h"

namespace kx {

float sciWithInsert(int index, float angle) {
    // Blue is the insert without offset; every other choice, none included, adds 1.61.
    const float offset = index == 3 ? 0.0f : 1.61f;
    return offset + angle;
}

float tciWithInsert(int index, float angle) {
    float offset = 0.0f;
    switch (index) {
        case 1: offset = 9.2f; break;
        case 2: offset = 16.4f; break;
        case 3: offset = 23.2f; break;
        default: break;
    }
    return offset + angle;
}

float withInsert(Inclination kind, int index, float angle) {
    return kind == Inclination::Sagittal ? sciWithInsert(index, angle) : tciWithInsert(index, angle);
}

InsertLook insertLook(int index) {
    switch (index) {
        case 1: return {colors::yellow, colors::black};
        case 2: return {colors::red, colors::black};
        case 3: return {colors::blue, colors::white};
        case 4: return {colors::black, colors::white};
        default: return {colors::white, colors::black};
    }
}

int defaultInsert(Inclination kind) { return kind == Inclination::Sagittal ? 3 : 0; }

}  // namespace kx
