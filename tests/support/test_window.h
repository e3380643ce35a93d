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

// Which example files a test window's data folder starts with.
enum class Examples { All, None };

// A calculator window over a data folder of its own, opened and then used as
// the steps say (see apply). All examples are written once into a shared
// folder (each file is synced to disk, which is slow) and copied from there.
// open() switches to another calculator over the same folder, as the user
// does going from a design window to the window that reads its design.
struct TestWindow {
    explicit TestWindow(const Calculator& c, const std::string& steps = "",
                        Examples examples = Examples::All) {
        if (examples == Examples::All)
            copyExamples();
        open(c);
        apply(steps);
    }
    static void copyExamplesInto(const std::filesystem::path& to) { seedExamples(to); }
    void copyExamples() { copyExamplesInto(tmp.path()); }

    void open(const Calculator& c) {
        calc = &c;
        form = Form_Load(c, env);
    }
    bool calculate() { return CmdCalc_Click(*calc, form, env); }
    void clear() { CmdClr_Click(*calc, form, env); }
    void select(const std::string& option) { selectOption(*calc, form, env, option); }
    void press(const std::string& button) { pressButton(*calc, form, env, button); }
    // What the user does, in order: "OpAr TxtAr=.5 -Check1 +Check2 CmdCalc"
    // selects OpAr, types .5 into TxtAr, unchecks Check1, checks Check2 and
    // presses Calculate. A word starting with "Cmd" presses that button.
    void apply(const std::string& steps) {
        for (const auto& s : words(steps)) {
            const auto eq = s.find('=');
            if (s[0] == '-' || s[0] == '+')
                clickCheck(*calc, form, env, s.substr(1), s[0] == '+');
            else if (eq != std::string::npos)
                editBox(*calc, form, env, s.substr(0, eq), s.substr(eq + 1));
            else if (s.rfind("Cmd", 0) == 0)
                press(s);
            else
                select(s);
        }
    }
    // Types the words of texts into the boxes, in order.
    void type(const Texts& boxes, const std::string& texts) {
        const Texts t = words(texts);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            editBox(*calc, form, env, boxes[i], t.at(i));
    }
    Texts shown(const Texts& boxes) const {
        Texts t;
        for (const auto& box : boxes)
            t.push_back(form.text(box));
        return t;
    }
    const Texts& list(const std::string& name = "List1") const { return form.list(name); }
    // Close, and the data file's lines as written.
    Texts close() {
        EXPECT_EQ(CmdClose_Click(*calc, form, env), CloseOutcome::Saved);
        return dir.readLines(calc->dataFile).value_or(Texts{});
    }

    const Calculator* calc = nullptr;
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

} // namespace ferrovane::testing
