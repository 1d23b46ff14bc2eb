#include "insert_rules.h"

namespace kx {

const InsertColour& insertAt(Inclination kind, int index) {
    int at = 0;
    for (const InsertColour& c : kInserts)
        if (offers(kind, c) && at++ == index)
            return c;
    return kNoInsert;
}

std::optional<int> listIndex(Inclination kind, Insert insert) {
    int at = 0;
    for (const InsertColour& c : kInserts) {
        if (!offers(kind, c))
            continue;
        if (c.insert == insert)
            return at;
        ++at;
    }
    return std::nullopt;
}

float sciWithInsert(int index, float angle) { return insertAt(Inclination::Sagittal, index).sciOffset + angle; }

float tciWithInsert(int index, float angle) { return insertAt(Inclination::Transversal, index).tciOffset + angle; }

float withInsert(Inclination kind, int index, float angle) {
    return kind == Inclination::Sagittal ? sciWithInsert(index, angle) : tciWithInsert(index, angle);
}

InsertLook insertLook(Inclination kind, int index) { return insertAt(kind, index).look; }

}  // namespace kx
