#pragma once

#include <string>
#include <vector>

#include "shell/data_dir.h"

namespace ferrovane {

// One data file as the example problem leaves it.
struct ExampleFile {
    std::string name;
    bool flagLine = true;            // line 1 "True"; two files have none
    std::vector<std::string> fields; // the lines after the flag, as written
};

// All the data files with their example problems, in the order
// RestoreExamples writes them.
const std::vector<ExampleFile>& exampleFiles();

// Rewrites every data file with its example problem. Goes on past a file that
// cannot be written and returns the first failure, if any.
WriteResult RestoreExamples(const DataDir& dir);

} // namespace ferrovane
