#include "shell/named_design.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>

#include "numeric/eng_text.h"
#include "shell/window_cycle.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using Files = std::map<std::string, std::string>;

// Every file of a folder with its bytes.
Files snapshot(const std::filesystem::path& dir) {
    Files files;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The window's state that its data file keeps: every box, option group,
// check box and drop-down the file names.
void expectSameFields(const Calculator& calc, const Form& got, const Form& want) {
    for (const FileField& f : calc.fields) {
        switch (f.kind) {
        case FieldKind::Option:
        case FieldKind::OptionNumber:
        case FieldKind::OptionIfAny:
            EXPECT_EQ(got.option(f.name), want.option(f.name)) << f.name;
            break;
        case FieldKind::Check:
            EXPECT_EQ(got.checked(f.name), want.checked(f.name)) << f.name;
            break;
        case FieldKind::Value:
            EXPECT_EQ(got.value(f.name), want.value(f.name)) << f.name;
            break;
        case FieldKind::Fixed:
            break;
        default:
            EXPECT_EQ(got.text(f.name), want.text(f.name)) << f.name;
        }
    }
}

// Every calculator: its example saved as a design, the window cleared, the
// design opened again. The window then holds what Close and Load Last Run
// would have brought back, every box reading as the number it held, and
// Save would write the same lines again; the data file is never touched;
// and the design's data lines are byte for byte the file Close writes.
TEST(NamedDesign, EveryCalculatorComesBackFromItsDesign) {
    TempDir designs;
    for (const CatalogueEntry& entry : catalogue()) {
        SCOPED_TRACE(entry.id);
        const Calculator& calc = entry.calculator();
        TestWindow w(calc);
        const Form saved = w.form;
        const Files before = snapshot(w.tmp.path());
        const auto file = designs.path() / (entry.id + kDesignExtension);
        ASSERT_TRUE(writeDesign(file, makeDesign(entry, w.form, w.env, "2026-12-06 10:00:00")));

        w.clear();
        // A Clear that brings back a design of its own leaves the boxes as
        // they were: the window as designed stands in for it.
        if (designLines(calc, w.form, w.env) == designLines(calc, saved, w.env))
            w.form = makeForm(calc);
        if (!calc.fields.empty()) {
            EXPECT_NE(designLines(calc, w.form, w.env), designLines(calc, saved, w.env));
        }
        const Form cleared = w.form;
        ASSERT_TRUE(openDesign(entry, w.form, w.env, file).has_value());
        EXPECT_EQ(designLines(calc, w.form, w.env), designLines(calc, saved, w.env));
        for (const FileField& f : calc.fields)
            if (f.kind == FieldKind::Eng) {
                EXPECT_EQ(w.form.number(f.name), ReadNumber(FormatEng(saved.number(f.name))))
                    << f.name;
            }
        EXPECT_EQ(snapshot(w.tmp.path()), before);
        EXPECT_TRUE(w.dialogs.shown.empty());

        if (calc.dataFile.empty())
            continue;
        TestWindow closed(calc);
        Form copy = saved;
        ASSERT_EQ(CmdClose_Click(calc, copy, closed.env), CloseOutcome::Saved);
        const std::string text = readAll(file);
        EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4), closed.tmp.read(calc.dataFile));
        Form lastRun = cleared;
        LoadFile(calc, lastRun, closed.env);
        expectSameFields(calc, w.form, lastRun);
    }
}

TEST(NamedDesign, IsAHeaderThenTheDataLinesAndReadsBackTheSame) {
    NamedDesign d{"l-network",         "2026-12-06 14:03:12",
                  "40 m match",        "for the \xC3\xA9tude",
                  "sweep TxtF 1 10 5", {"False", " 7.150e+6  ", "50", "caf\xC3\xA9", "", "0", "2"}};
    const std::string text = designText(d);
    EXPECT_EQ(text, "Ferrovane design 1\r\ncalculator: l-network\r\nsaved: 2026-12-06 14:03:12\r\n"
                    "title: 40 m match\r\nnotes: for the \xC3\xA9tude\r\nexplore: sweep TxtF 1 10 5"
                    "\r\n\r\nFalse\r\n 7.150e+6  \r\n50\r\ncaf\xE9\r\n\r\n0\r\n2\r\n");
    // Read back as a data file is: leading blanks skipped.
    d.fields[1] = "7.150e+6  ";
    const DesignRead back = parseDesign(text, "a.fvd");
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(*back.design, d);
    // LF alone, lines a later version adds and names in capitals read too.
    const DesignRead lf = parseDesign("Ferrovane design 1\nColour: blue\nCALCULATOR: l-network\n\n"
                                      "False\n 7\n50\nx,y\n\t1\n2\n",
                                      "b.fvd");
    ASSERT_TRUE(lf) << lf.error;
    EXPECT_EQ(lf.design->fields,
              (std::vector<std::string>{"False", "7", "50", "x", "y", "1", "2"}));
}

TEST(NamedDesign, HeaderTextsLoseControlCharactersAndLineBreaks) {
    EXPECT_EQ(headerText(" a\r\nb\tc\x01"
                         "d\x7F e "),
              "a  b cd e");
    EXPECT_EQ(headerText("x\xE2\x80\xA8y\xC2\x85z"), "x yz"); // U+2028, then NEL
    EXPECT_EQ(headerText("caf\xC3"), "caf");                  // a cut character
    std::string long_;
    for (int i = 0; i < 5000; ++i)
        long_ += "\xC3\xA9";
    const std::string cut = headerText(long_);
    EXPECT_EQ(cut.size(), kMaxHeaderValue);
    EXPECT_EQ(cut, long_.substr(0, kMaxHeaderValue));
    // A title written from any text reads back as that text cleaned.
    NamedDesign d{"reactance", "now", "one\r\ntwo\x1B", long_ + long_, "", {}};
    d.fields = fileLines(findCalculator("reactance")->calculator(),
                         makeForm(findCalculator("reactance")->calculator()));
    const DesignRead back = parseDesign(designText(d), "t.fvd");
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.design->title, "one  two");
    EXPECT_EQ(back.design->notes, cut);
}

std::string header(const std::string& calculator = "l-network") {
    return "Ferrovane design 1\r\ncalculator: " + calculator + "\r\nsaved: now\r\n\r\n";
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// The L-network writes the flag and six fields.
std::string goodBody() {
    return "False\r\n" + repeat("1\r\n", 6);
}

// A bad file gives one message that names it and what is wrong, and the
// window's form stays exactly as it was.
TEST(NamedDesign, ABadFileSaysWhatIsWrongAndChangesNothing) {
    const std::string good = header() + goodBody();
    const struct {
        std::string bytes;
        std::string says;
    } cases[] = {
        {"", "is not a Ferrovane design."},
        {"Hello, world\r\n", "is not a Ferrovane design."},
        {"False\r\n1\r\n2\r\n", "is not a Ferrovane design."},
        {"Ferrovane design x\r\n", "is not a Ferrovane design."},
        {"Ferrovane design 0\r\n", "is not a Ferrovane design."},
        {"Ferrovane design", "is cut short: it ends in its first line."},
        {"Ferrovane design 2\r\nwhatever: follows\r\n",
         "was saved by a newer Ferrovane (design format 2)"},
        {header("flux-capacitor") + goodBody(), "does not have: \"flux-capacitor\"."},
        {header(std::string(5000, 'x')) + goodBody(),
         "does not have: \"" + std::string(40, 'x') + "\"."},
        {header("CmdLNet") + goodBody(), "does not have: \"CmdLNet\"."},
        {"Ferrovane design 1\r\nsaved: now\r\n\r\n" + goodBody(), "names no calculator"},
        {"Ferrovane design 1\r\ncalculator: l-network\r\n",
         "is cut short: its header does not end."},
        {header(), "is cut short: its data lines are missing."},
        {good.substr(0, good.size() - 2), "is cut short: its last line is incomplete."},
        {header() + "False\r\n1\r\n", "is cut short: it has 2 data lines where the \"L--Network "
                                      "Matching\" calculator writes 7."},
        {good + "1\r\n",
         "has more data lines than the \"L--Network Matching\" calculator writes (7)."},
        {header() + "False\r\n" + std::string(1000000, ',') + "\r\n", "has more data lines than"},
        {header() + goodBody().replace(7, 1, "\x01"), "has a control character in line 6."},
        {header() + goodBody().replace(7, 1, std::string(1, '\0')),
         "has a control character in line 6."},
        {header() + goodBody().replace(7, 1, "\r"), "has a control character in line 6."},
        {"Ferrovane design 1\r\ntitle: a\x1B[2Jb\r\n", "has a control character in line 2."},
        {"Ferrovane design 1\r\ntitle: caf\xC3\r\n", "has text that is not UTF-8 in line 2."},
        {"Ferrovane design 1\r\ntitle: \xC0\xAF\r\n", "has text that is not UTF-8 in line 2."},
        {"Ferrovane design 1\r\ntitle: " + std::string(20000, 'a') + "\r\n",
         "longer than 8192 bytes (line 2)."},
        {"Ferrovane design 1\r\ntitle: " + std::string(8100, 'a') + "\r\n",
         "longer than 8000 bytes in line 2."},
        {"Ferrovane design 1\r\nno colon here\r\n", "is not \"name: value\" in line 2."},
        {"Ferrovane design 1\r\ncalculator: l-network\r\nCalculator: l-network\r\n",
         "more than one \"calculator:\" line."},
        {"Ferrovane design 1\r\n" + repeat("x: y\r\n", 100), "has more than 64 header lines."},
        {good + std::string(kMaxDesignBytes, 'x'), "is too large to be a Ferrovane design."},
    };
    const CatalogueEntry& entry = *findCalculator("l-network");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        TempDir tmp;
        tmp.write("bad.fvd", c.bytes);
        TestWindow w(entry.calculator());
        const Form before = w.form;
        EXPECT_FALSE(openDesign(entry, w.form, w.env, tmp.path() / "bad.fvd"));
        EXPECT_EQ(w.form, before);
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        const std::string& said = w.dialogs.shown[0].text;
        EXPECT_EQ(said.rfind("\"" + (tmp.path() / "bad.fvd").string() + "\" ", 0), 0u) << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_LT(said.size(), 300u);
    }
    // The good file itself opens.
    TempDir tmp;
    tmp.write("good.fvd", good);
    TestWindow w(entry.calculator());
    EXPECT_TRUE(openDesign(entry, w.form, w.env, tmp.path() / "good.fvd"));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(NamedDesign, EveryPrefixOfADesignIsRefused) {
    const std::string good = header() + goodBody();
    ASSERT_TRUE(parseDesign(good, "g.fvd"));
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(parseDesign(good.substr(0, n), "g.fvd")) << n;
}

TEST(NamedDesign, MissingFoldersAndOtherCalculatorsDesignsAreRefused) {
    TempDir tmp;
    const CatalogueEntry& lnet = *findCalculator("l-network");
    TestWindow w(lnet.calculator());
    const Form before = w.form;
    EXPECT_FALSE(openDesign(lnet, w.form, w.env, tmp.path() / "none.fvd"));
    EXPECT_FALSE(openDesign(lnet, w.form, w.env, tmp.path()));
    const CatalogueEntry& reactance = *findCalculator("reactance");
    TestWindow other(reactance.calculator());
    ASSERT_TRUE(
        writeDesign(tmp.path() / "r.fvd", makeDesign(reactance, other.form, other.env, "now")));
    EXPECT_FALSE(openDesign(lnet, w.form, w.env, tmp.path() / "r.fvd"));
    EXPECT_EQ(w.form, before);
    const auto said = w.dialogs.texts();
    ASSERT_EQ(said.size(), 3u);
    EXPECT_NE(said[0].find("cannot be opened: there is no such file."), std::string::npos);
    EXPECT_NE(said[1].find("cannot be opened: it is a folder."), std::string::npos);
    EXPECT_NE(
        said[2].find("is a design for the \"C-Xc, L-XL and Resonance\" calculator, not this one."),
        std::string::npos);
}

// Fifty megabytes of noise are refused after reading one: no hang.
TEST(NamedDesign, FiftyMegabytesOfGarbageAreRefusedQuickly) {
    TempDir tmp;
    std::mt19937 random(7);
    std::string noise(50u << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    tmp.write("noise.fvd", noise);
    tmp.write("long.fvd", header() + "False\r\n" + noise);
    for (const char* name : {"noise.fvd", "long.fvd"}) {
        const auto start = std::chrono::steady_clock::now();
        const DesignRead read = readDesign(tmp.path() / name);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_FALSE(read);
        EXPECT_NE(read.error.find(name), std::string::npos);
    }
}

TEST(NamedDesign, AnExploreLineIsKeptAndAnEmptyOneLeftOut) {
    NamedDesign d{"reactance", "now", "", "", "tolerance TxtL=5 runs=200", {}};
    d.fields = fileLines(findCalculator("reactance")->calculator(),
                         makeForm(findCalculator("reactance")->calculator()));
    EXPECT_NE(designText(d).find("\r\nexplore: tolerance TxtL=5 runs=200\r\n"), std::string::npos);
    EXPECT_EQ(parseDesign(designText(d), "e.fvd").design->explore, d.explore);
    d.explore.clear();
    EXPECT_EQ(designText(d).find("explore"), std::string::npos);
    EXPECT_EQ(designText(d).find("title"), std::string::npos);
}

TEST(RecentDesigns, HoldTenAtMostTheMostRecentFirst) {
    std::vector<std::string> recent;
    for (int i = 1; i <= 12; ++i)
        recent = rememberDesign(recent, "/d/" + std::to_string(i) + ".fvd");
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent.front(), "/d/12.fvd");
    EXPECT_EQ(recent.back(), "/d/3.fvd");
    // Opening one again moves it to the head, once.
    recent = rememberDesign(recent, "/d/7.fvd");
    EXPECT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent[0], "/d/7.fvd");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/d/7.fvd"), 1);
    EXPECT_EQ(recent[1], "/d/12.fvd");
}

TEST(RecentDesigns, AMissingFileDropsOutWithAMessage) {
    const std::vector<std::string> recent{"/d/a.fvd", "/d/gone.fvd", "/d/b.fvd"};
    auto exists = [](const std::string& f) { return f != "/d/gone.fvd"; };
    const RecentPick there = pickRecent(recent, 2, exists);
    EXPECT_EQ(there.file, "/d/b.fvd");
    EXPECT_EQ(there.recent, recent);
    EXPECT_TRUE(there.message.empty());
    const RecentPick gone = pickRecent(recent, 1, exists);
    EXPECT_FALSE(gone.file);
    EXPECT_EQ(gone.recent, (std::vector<std::string>{"/d/a.fvd", "/d/b.fvd"}));
    EXPECT_NE(gone.message.find("\"/d/gone.fvd\" is no longer there"), std::string::npos);
    EXPECT_FALSE(pickRecent(recent, 3, exists).file);
}

} // namespace
} // namespace ferrovane::testing
