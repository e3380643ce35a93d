#pragma once

#include "shell/run.h"

namespace ferrovane::testing {

// Records every message shown and answers questions from a script (Yes
// when the script runs out): the dialogs of a headless run.
using ScriptedDialogs = RecordingDialogs;

} // namespace ferrovane::testing
