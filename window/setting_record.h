// The record a practice files of a setting: the window on paper or as a PDF,
// or copied as text and picture; and what the person is told when that fails.
#pragma once

#include <QString>
#include <array>

#include "services.h"
#include "texts.h"
#include "window_controls.h"

class QLabel;

namespace kx {

class SettingRecord {
public:
    // What a record shows of the window, found once when the window is made.
    struct Shown {
        QWidget* window;
        QLabel *rightSide, *leftSide;
        std::array<InputControls, 4> inputs;      // in the order of kInputSpecs
        std::array<TileShown, kTileCount> tiles;  // by TilePosition
    };
    // The language is the window's: its tables and the index it has now.
    SettingRecord(Services services, Shown shown, const LanguageTables& tables, const int& langIndex);

    void printDefault();   // on the default printer, with no dialog
    void printChoosing();  // with the system's print dialog
    void savePdf();        // where the person chooses in the system's file dialog
    void copy();           // to the clipboard

    // The setting as plain text, in the window's language, ending in a line
    // that says when it was taken.
    QString text() const;

private:
    Page page() const;
    void tell(const Printer::Result& result) const;

    Services services_;
    Shown shown_;
    const LanguageTables& tables_;
    const int& langIndex_;
    // The tiles, front, left and right, each with its row of accessible
    // texts: the text names a tile as a screen reader does.
    struct Tile {
        TilePosition position;
        std::size_t accessibleRow;
    };
    std::array<Tile, kTileCount> tiles_;
};

}  // namespace kx
