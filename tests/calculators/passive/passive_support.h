#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "shell/example_files.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane::testing {

using Texts = std::vector<std::string>;

// The words of a text separated by blanks, "_" standing for an empty one.
inline Texts words(const std::string& text) {
    Texts t;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        t.push_back(word == "_" ? "" : word);
    return t;
}

// A calculator window over a data directory of its own that holds the
// calculator's example file, or nothing, opened and then used as the steps
// say (see apply). All examples are written once (each file is synced to
// disk, which is slow) and copied from there.
struct Window {
    explicit Window(const Calculator& c, const std::string& steps = "", bool withExample = true)
        : calc(c) {
        static const TempDir examples;
        [[maybe_unused]] static const WriteResult restored =
            RestoreExamples(DataDir(examples.path()));
        if (withExample)
            std::filesystem::copy_file(DataDir(examples.path()).resolve(c.dataFile),
                                       dir.resolve(c.dataFile));
        open();
        apply(steps);
    }
    void open() { form = Form_Load(calc, env); }
    bool calculate() { return CmdCalc_Click(calc, form, env); }
    // What the user does, in order: "OpAr TxtAr=.5 -Check1 CmdCalc" selects
    // OpAr, types .5 into TxtAr, unchecks Check1 and presses Calculate.
    void apply(const std::string& steps) {
        for (const auto& s : words(steps)) {
            const auto eq = s.find('=');
            if (s == "CmdCalc")
                calculate();
            else if (s[0] == '-')
                clickCheck(calc, form, env, s.substr(1), false);
            else if (eq != std::string::npos)
                editBox(calc, form, env, s.substr(0, eq), s.substr(eq + 1));
            else
                selectOption(calc, form, env, s);
        }
    }
    // Types the words of texts into the boxes, in order.
    void type(const Texts& boxes, const std::string& texts) {
        for (std::size_t i = 0; i < boxes.size(); ++i)
            editBox(calc, form, env, boxes[i], words(texts).at(i));
    }
    Texts shown(const Texts& boxes) const {
        Texts t;
        for (const auto& box : boxes)
            t.push_back(form.text(box));
        return t;
    }
    // Close, and the data file's lines as written.
    Texts close() {
        EXPECT_EQ(CmdClose_Click(calc, form, env), CloseOutcome::Saved);
        return dir.readLines(calc.dataFile).value_or(Texts{});
    }

    const Calculator& calc;
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

} // namespace ferrovane::testing
