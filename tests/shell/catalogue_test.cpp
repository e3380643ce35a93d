#include "calculators/catalogue.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>

#include "support/test_window.h"

namespace ferrovane {
namespace {

// Twenty distinct buttons, each with its own description, fill the
// four-by-five grid once.
TEST(Catalogue, FillsTheFourByFiveGridOnce) {
    std::set<std::pair<int, int>> cells;
    std::set<std::string> buttons, descriptions;
    for (const auto& e : catalogue()) {
        EXPECT_TRUE(e.row >= 1 && e.row <= 5 && e.column >= 1 && e.column <= 4) << e.button;
        cells.insert({e.row, e.column});
        buttons.insert(e.button);
        descriptions.insert(e.description);
    }
    EXPECT_EQ(catalogue().size(), 20u);
    EXPECT_EQ(cells.size() + buttons.size() + descriptions.size(), 60u);
}

// Opens the calculator on its example and works every control through the
// window cycle: every option of every group (calculating with each), every
// check box both ways, every box and drop-down box, every button, then
// Clear, Load, Calculate, Close.
// A name the code uses but the description does not declare throws
// std::out_of_range, which is reported with the step that reached it.
void driveEveryControl(const Calculator& calc) {
    auto step = [&](const std::string& what, const std::function<void()>& act) {
        try {
            act();
            return true;
        } catch (const std::out_of_range& e) {
            ADD_FAILURE() << what << ": " << e.what();
            return false;
        }
    };
    std::unique_ptr<testing::TestWindow> window;
    if (!step("opening", [&] { window = std::make_unique<testing::TestWindow>(calc); }))
        return;
    testing::TestWindow& w = *window;
    forEachControl(calc.form, [&](const ControlSpec& control) {
        if (const auto* g = std::get_if<GroupSpec>(&control)) {
            for (const auto& [option, caption] : g->options)
                step(option, [&] {
                    w.select(option);
                    w.calculate();
                });
        } else if (const auto* c = std::get_if<CheckSpec>(&control)) {
            for (bool on : {false, true})
                step(c->name, [&] { clickCheck(calc, w.form, w.env, c->name, on); });
        } else if (const auto* b = std::get_if<BoxSpec>(&control)) {
            step(b->name, [&] {
                editBox(calc, w.form, w.env, b->name, w.form.text(b->name));
                leaveBox(calc, w.form, w.env, b->name);
            });
        } else if (const auto* d = std::get_if<ComboSpec>(&control)) {
            for (const auto& item : d->items)
                step(d->name, [&] { chooseCombo(calc, w.form, w.env, d->name, item); });
        } else if (const auto* p = std::get_if<ButtonSpec>(&control)) {
            if (p->name != calc.form.closeName)
                step(p->name, [&] { w.press(p->name); });
        }
    });
    for (const char* button : {"CmdClr", "CmdLoadData", "CmdCalc"})
        step(button, [&] { w.press(button); });
    step("Close", [&] { CmdClose_Click(calc, w.form, w.env); });
}

// Covers every calculator the catalogue lists, those added later included.
TEST(Catalogue, EveryCalculatorUsesOnlyNamesItDeclares) {
    for (const auto& e : catalogue()) {
        if (!e.calculator)
            continue;
        SCOPED_TRACE(e.button);
        const Calculator& calc = e.calculator();
        EXPECT_EQ(undeclaredNames(calc), std::vector<std::string>{});
        driveEveryControl(calc);
    }
}

// A rule that reaches a name its window does not declare is found, by the
// step that reached it.
TEST(Catalogue, DrivingFindsANameTheWindowDoesNotDeclare) {
    Calculator calc;
    calc.form.left = {GroupSpec{"Mode", "", {{"OpOne", "One"}}}};
    calc.options["OpOne"] = [](Form& f, CalcEnv&) { f.setText("TxtMissing", ""); };
    EXPECT_NONFATAL_FAILURE(driveEveryControl(calc), "OpOne: no control named TxtMissing");
}

} // namespace
} // namespace ferrovane
