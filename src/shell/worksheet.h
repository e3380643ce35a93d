#pragma once

#include <string>

#include "shell/calculator.h"
#include "shell/print_job.h"

namespace ferrovane {

// A clean worksheet of a calculator window, as Print (Ctrl+P) gives it: the
// window's caption and the date, each visible box with its label, value and
// unit, the selected options and checked boxes, each result list with its
// header, and the picture the window shows.
PrintJob worksheetJob(const Calculator& calc, const Form& form, const std::string& date);

} // namespace ferrovane
