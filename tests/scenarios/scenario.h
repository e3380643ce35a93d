#pragma once

#include <string>
#include <vector>

#include "calculators/catalogue.h"
#include "shell/run.h"

namespace ferrovane::testing {

// A scenario file: a calculator, a start, what the user does and what must
// be seen, read by a person at a glance. See tests/scenarios/README.md.
struct Step {
    int line = 0;
    bool isAction = true;
    RunAction action;
    // An expectation: what is checked ("text", "list", "file", "message",
    // "state", ...), the control or file it names and the texts it expects.
    std::string what, name, text;
    std::vector<std::string> lines;
};

struct GivenFile {
    std::string name;
    bool remove = false;
    std::vector<std::string> lines;
};

struct Scenario {
    std::string file;
    int line = 0;
    std::string title;
    const CatalogueEntry* entry = nullptr;
    RunStart start = RunStart::Saved;
    Answer fallback = Answer::Yes;
    std::vector<Answer> answers;
    std::vector<GivenFile> given;
    std::vector<Step> steps;
};

// Every scenario of a file; a line it cannot read throws std::runtime_error
// naming the file and line.
std::vector<Scenario> readScenarios(const std::string& path);

// Runs the scenario over a data folder of its own seeded with the examples;
// returns one text per expectation that failed (empty when all held).
std::vector<std::string> runScenario(const Scenario& s);

} // namespace ferrovane::testing
