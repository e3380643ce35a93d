#pragma once

#include <string>
#include <vector>

#include "shell/drawing.h"

namespace ferrovane {

// What goes to the printer: texts at positions in twips from the page's
// top-left corner, page by page, and optionally pictures and drawings.
struct PrintLine {
    double x = 0, y = 0; // twips
    std::string text;
    Font font;
    bool operator==(const PrintLine&) const = default;
};

struct PrintPicture {
    double x = 0, y = 0, widthTwips = 0, heightTwips = 0;
    std::string file; // a picture name as PictureSpec gives it
    bool operator==(const PrintPicture&) const = default;
};

// A display list scaled into a rectangle of the page, texts and all.
struct PrintDrawing {
    double x = 0, y = 0, widthTwips = 0, heightTwips = 0;
    Drawing drawing;
    bool operator==(const PrintDrawing&) const = default;
};

struct PrintPage {
    std::vector<PrintLine> lines;
    std::vector<PrintPicture> pictures;
    std::vector<PrintDrawing> drawings;
    bool operator==(const PrintPage&) const = default;
};

struct PrintJob {
    std::string title; // the document's name in the print queue
    std::vector<PrintPage> pages;
    bool operator==(const PrintJob&) const = default;

    // The lines of every page in order, for tests and plain-text export.
    std::vector<std::string> texts() const;
};

// Lays out lines of one font from a top position downwards, one line height
// apart, starting a new page when the bottom margin is reached.
class PrintWriter {
public:
    PrintWriter(std::string title, Font font, double leftTwips, double topTwips, double lineTwips,
                double pageBottomTwips = 15000);
    void print(const std::string& text); // an empty text is an empty line
    PrintJob finish();

private:
    PrintJob job_;
    Font font_;
    double left_, top_, line_, bottom_, y_;
};

// Hands a print job to the system: a print dialog, a printer or a PDF file.
class Printer {
public:
    virtual ~Printer() = default;
    // False when the user cancelled or nothing could be printed.
    virtual bool print(const PrintJob& job) = 0;
};

} // namespace ferrovane
