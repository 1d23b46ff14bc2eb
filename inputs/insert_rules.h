// The insert colours: the offset each adds to a scale angle, and how a list
// shows the chosen insert.
#pragma once

#include "fields.h"

namespace kx {

enum class Inclination { Sagittal, Transversal };

// Offset of the insert at a list index (-1 for none), added once in single
// precision to the scale angle.
float sciWithInsert(int index, float angle);
float tciWithInsert(int index, float angle);
float withInsert(Inclination kind, int index, float angle);

struct InsertLook {
    Rgb back, fore;
};
InsertLook insertLook(int index);

// The insert put back when a person types into a list's edit part.
int defaultInsert(Inclination kind);

}  // namespace kx
