#pragma once

#include <vector>

#include "shell/print_job.h"

namespace ferrovane::testing {

// Keeps every job it is given, as if a printer had printed it.
class RecordingPrinter : public Printer {
public:
    bool print(const PrintJob& job) override {
        jobs.push_back(job);
        return true;
    }
    std::vector<PrintJob> jobs;
};

} // namespace ferrovane::testing
