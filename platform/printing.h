// Printing, saving as PDF and copying, through the system's printers,
// dialogs and clipboard.
#pragma once

#include "services.h"

namespace kx {

// Every way out puts the same page on paper: from the top left of the
// printable area, the window's client area as large as on a 96-dpi screen
// (smaller only where the paper is too small), drawn by the toolkit for the
// paper's resolution, so that text stays text and pictures come from their
// largest drawn bitmaps; under it the footer line.
class SystemPrinter : public Printer {
public:
    Result printDefault(const Page& page) override;
    Result printChoosing(const Page& page) override;
    // The PDF has the paper and margins a print on the default printer gets
    // (with CUPS Qt starts every page on A4), else the regional format's paper.
    Result savePdf(const Page& page, const FileChoice& choice) override;
};

// The page as "Save as PDF" writes it.
QByteArray pdfOf(const Page& page);

class SystemClipboard : public Clipboard {
public:
    bool put(const QString& text, const QImage& image) override;
};

}  // namespace kx
