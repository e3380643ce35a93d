#pragma once

#include <filesystem>
#include <iosfwd>

#include "calculators/catalogue.h"
#include "shell/explore.h"
#include "shell/run.h"

namespace ferrovane {

// How "ferrovane calc" prints what a run showed.

// The main window's caption as a person reads it ("&&" is one "&").
std::string mainWindowCaption(const CatalogueEntry& entry);

// The messages (title: text), then every box and list as the window shows them.
void printText(std::ostream& out, const Calculator& calc, const RunOutcome& outcome);
// One JSON object: calculator, messages, boxes, lists, drawings, files.
void printJson(std::ostream& out, const CatalogueEntry& entry, const RunOutcome& outcome);
// The inputs and results as the calculator's help page (HTML, may be empty)
// explains them, then every control's name with what the window shows.
void printCalculatorHelp(std::ostream& out, const Calculator& calc, const std::string& page);

// The sweep as a table (the input, then each output), then its gaps.
void printSweep(std::ostream& out, const SweepResult& result);
bool writeSweepCsv(const std::filesystem::path& file, const SweepResult& result);
std::string sweepCsv(const SweepResult& result);
void printTolerance(std::ostream& out, const ToleranceResult& result, bool worstCase);

} // namespace ferrovane
