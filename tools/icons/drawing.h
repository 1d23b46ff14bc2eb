// What both drawing tools start from: the SVG they draw and the folder they
// draw into.
#pragma once

#include <QDir>
#include <QSvgRenderer>
#include <cstdio>

// Reads the SVG and makes the folder; false, having said why, where either
// fails.
inline bool startDrawing(const char* tool, const QString& svgFile, const QString& folder, QSvgRenderer& svg,
                         QDir& out) {
    if (!svg.load(svgFile)) {
        std::fprintf(stderr, "%s: cannot read %s\n", tool, qPrintable(svgFile));
        return false;
    }
    out = QDir(folder);
    return QDir().mkpath(out.path());
}
