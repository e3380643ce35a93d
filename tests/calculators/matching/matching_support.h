#pragma once

#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <utility>
#include <vector>

#include "shell/data_dir.h"
#include "shell/example_files.h"
#include "shell/help_texts.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane::testing {

using Cplx = std::complex<double>;
using Lines = std::vector<std::string>;
using Typed = std::vector<std::pair<std::string, std::string>>;

// A calculator window opened on the example files of a fresh data folder;
// open() switches to another calculator over the same folder.
struct Window {
    explicit Window(const Calculator& c) {
        RestoreExamples(dir);
        open(c);
    }
    void open(const Calculator& c) {
        calc = &c;
        form = Form_Load(c, env);
    }
    bool calculate() { return CmdCalc_Click(*calc, form, env); }
    void clear() { CmdClr_Click(*calc, form, env); }
    void select(const std::string& option) { selectOption(*calc, form, env, option); }
    void type(const Typed& typed) {
        for (const auto& [box, text] : typed)
            editBox(*calc, form, env, box, text);
    }
    Lines list() const { return form.list("List1"); }
    // Both design files, to see that a refused design writes neither.
    std::string designs() const {
        return tmp.read("CapDivDesign.DAT") + "|" + tmp.read("PiNetDesign.DAT");
    }

    const Calculator* calc = nullptr;
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

} // namespace ferrovane::testing
