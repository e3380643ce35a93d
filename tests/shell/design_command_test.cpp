// "ferrovane calc" with designs: --save-design writes the form after the
// press, --design starts a run from one.
#include <gtest/gtest.h>

#include <sstream>

#include "shell/calc_command.h"
#include "shell/named_design.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = calcCommand(args, out, err, "/nonexistent");
    return {status, out.str(), err.str()};
}

TEST(DesignCommand, SavesTheFormAfterThePressAndRunsFromIt) {
    TempDir tmp;
    const std::string file = (tmp.path() / "match.fvd").string();
    const Result saved =
        calc({"l-network", "--example", "--set", "TxtRL=75", "--save-design", file});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const DesignRead read = readDesign(file);
    ASSERT_TRUE(read) << read.error;
    // The window would hold the same after those steps.
    const Calculator& lnet = findCalculator("l-network")->calculator();
    TestWindow w(lnet, "TxtRL=75 CmdCalc");
    EXPECT_EQ(read.design->calculator, "l-network");
    ASSERT_EQ(CmdClose_Click(lnet, w.form, w.env), CloseOutcome::Saved);
    EXPECT_EQ(read.design->fields, *w.dir.readFields(lnet.dataFile));

    // Started from the design (no ID needed), the run shows what the
    // example run with the same change shows.
    const Result fromDesign = calc({"--design", file});
    // The box holds the engineering text the design saved.
    const Result byHand = calc({"l-network", "--example", "--set", "TxtRL=75.00"});
    EXPECT_EQ(fromDesign.status, byHand.status);
    EXPECT_EQ(fromDesign.out, byHand.out);
    EXPECT_EQ(calc({"l-network", "--design", file}).out, byHand.out);
}

TEST(DesignCommand, KeepsTheTitleOfTheDesignItStartedFrom) {
    TempDir tmp;
    const auto first = tmp.path() / "a.fvd", second = tmp.path() / "b.fvd";
    ASSERT_EQ(calc({"l-network", "--example", "--save-design", first.string()}).status, 0);
    NamedDesign d = *readDesign(first).design;
    d.title = "Tank coil";
    d.notes = "for the 80 m receiver";
    ASSERT_TRUE(writeDesign(first, d));
    ASSERT_EQ(calc({"--design", first.string(), "--save-design", second.string()}).status, 0);
    const DesignRead again = readDesign(second);
    ASSERT_TRUE(again) << again.error;
    EXPECT_EQ(again.design->title, "Tank coil");
    EXPECT_EQ(again.design->notes, "for the 80 m receiver");
}

// A design that cannot be used stops the command with status 2 and one line
// that names the file.
TEST(DesignCommand, RefusesBadDesignsAndConflictingOptions) {
    TempDir tmp;
    const std::string good = (tmp.path() / "r.fvd").string();
    ASSERT_EQ(calc({"reactance", "--example", "--save-design", good}).status, 0);
    tmp.write("bad.fvd", "Ferrovane design 7\r\n");
    const std::string bad = (tmp.path() / "bad.fvd").string();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--design", bad}, "\"" + bad + "\" was saved by a newer Ferrovane"},
        {{"--design", (tmp.path() / "none.fvd").string()}, "none.fvd\" cannot be opened"},
        {{"l-network", "--design", good}, "is a design for reactance, not for l-network"},
        {{"--design", good, "--example"}, "--design starts from the design"},
        {{"--design", good, "--data-dir", tmp.path().string()}, "leave out --data-dir"},
        {{"reactance", "--sweep", "TxtInd=1:2:3", "--save-design", good}, "leave out --sweep"},
        {{"--design"}, "--design needs a value"},
    };
    for (const auto& [args, says] : cases) {
        const Result r = calc(args);
        EXPECT_EQ(r.status, 2) << says;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const Result unwritable = calc({"l-network", "--example", "--save-design",
                                    (tmp.path() / "no" / "dir" / "x.fvd").string()});
    EXPECT_EQ(unwritable.status, 0); // a missing folder is made
    const Result blocked = calc(
        {"l-network", "--example", "--save-design", (tmp.path() / "r.fvd" / "x.fvd").string()});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("the design could not be saved"), std::string::npos);
}

} // namespace
} // namespace ferrovane::testing
