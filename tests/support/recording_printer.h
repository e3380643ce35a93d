#pragma once

#include "shell/run.h"

namespace ferrovane::testing {

// Keeps every job it is given: the printer of a headless run.
using RecordingPrinter = ferrovane::RecordingPrinter;

} // namespace ferrovane::testing
