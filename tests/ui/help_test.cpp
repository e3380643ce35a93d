#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "calculators/catalogue.h"
#include "shell/help_topics.h"
#include "ui/drawing_view.h"
#include "ui/help_window.h"
#include "ui_support.h"

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ferrovane {
namespace {

using namespace testing;

QString readPage(const QString& file) {
    QFile in(QDir(helpFolder()).filePath(file));
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

QString pageFile(const CatalogueEntry& entry) {
    return QString::fromStdString(helpPageFile(entry.id));
}

// The text a reader sees on the page, every run of blanks as one.
QString shownText(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText().replace(QChar::Nbsp, ' ').simplified();
}

// Every link of a page, as the document the browser shows holds them.
QStringList links(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextCharFormat f = it.fragment().charFormat(); f.isAnchor())
                if (!f.anchorHref().isEmpty() && !out.contains(f.anchorHref()))
                    out << f.anchorHref();
    return out;
}

std::set<QString> anchorNames(const QTextDocument& doc) {
    std::set<QString> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString& name : it.fragment().charFormat().anchorNames())
                out.insert(name);
    return out;
}

QStringList helpPages() {
    return QDir(helpFolder()).entryList({"*.html"}, QDir::Files);
}

TEST(HelpPages, EveryCalculatorHasAPageNamingWhatItsWindowShows) {
    for (const CatalogueEntry& entry : catalogue()) {
        const QString html = readPage(pageFile(entry));
        EXPECT_FALSE(html.isEmpty()) << "no help page " << pageFile(entry).toStdString();
        if (html.isEmpty() || !entry.calculator)
            continue;
        const QString text = shownText(html);
        const Calculator& calc = entry.calculator();
        EXPECT_TRUE(text.startsWith(QString::fromStdString(calc.form.caption).simplified()))
            << entry.id << ": the page should open with the window's caption";
        for (const std::string& caption : shownCaptions(calc.form))
            EXPECT_TRUE(text.contains(QString::fromStdString(caption)))
                << entry.id << " lacks \"" << caption << "\"";
    }
}

TEST(HelpPages, TheOverviewListsEveryCalculatorPage) {
    QTextDocument doc;
    doc.setHtml(readPage(kHelpOverview));
    const QStringList found = links(doc);
    for (const CatalogueEntry& entry : catalogue())
        EXPECT_TRUE(found.contains(pageFile(entry)))
            << "the overview has no link to " << pageFile(entry).toStdString();
}

// Headings from h1 down without a gap, a text for every picture, no colour of
// the page's own (the palette's colours read well in light and dark themes).
void checkStructure(const QString& file, const QString& html) {
    static const QRegularExpression heading("<h([1-6])[\\s>]"), image("<img\\b[^>]*>"),
        alt("\\balt\\s*=\\s*\"[^\"]*\\S[^\"]*\""),
        colour("\\b(bg)?color\\s*=|\\bcolor\\s*:|\\bbackground(-color)?\\s*:",
               QRegularExpression::CaseInsensitiveOption);
    int level = 0;
    int topHeadings = 0;
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const int next = it.next().captured(1).toInt();
        EXPECT_LE(next, level + 1)
            << file.toStdString() << ": heading h" << next << " after h" << level;
        topHeadings += next == 1 ? 1 : 0;
        level = next;
    }
    EXPECT_EQ(topHeadings, 1) << file.toStdString();
    for (auto it = image.globalMatch(html); it.hasNext();) {
        const QString img = it.next().captured();
        EXPECT_TRUE(alt.match(img).hasMatch()) << file.toStdString() << ": " << img.toStdString();
    }
    EXPECT_FALSE(colour.match(html).hasMatch()) << file.toStdString() << " sets a colour";
}

// Every link resolves: a page of the folder (with its anchor where one is
// named), or the example of the calculator the page is about.
TEST(HelpPages, EveryLinkResolvesAndEveryPictureLoads) {
    const QStringList pages = helpPages();
    ASSERT_FALSE(pages.isEmpty()) << helpFolder().toStdString();
    HelpWindow help;
    auto* browser = find<QTextBrowser>(&help, "HelpBrowser");
    for (const QString& file : pages) {
        const QString html = readPage(file);
        checkStructure(file, html);
        help.showPage(file);
        const QTextDocument& doc = *browser->document();
        for (const QString& href : links(doc)) {
            const QUrl url(href);
            if (url.scheme() == "ferrovane") {
                const QString id = url.path().section('/', 1);
                EXPECT_EQ(url.path().section('/', 0, 0), "example") << href.toStdString();
                EXPECT_EQ(file, QString::fromStdString(helpPageFile(id.toStdString())))
                    << file.toStdString() << " loads the example of " << id.toStdString();
                const CatalogueEntry* entry = findCalculator(id.toStdString());
                EXPECT_TRUE(entry && entry->calculator) << href.toStdString();
                continue;
            }
            EXPECT_TRUE(url.isRelative() && url.scheme().isEmpty())
                << file.toStdString() << ": " << href.toStdString();
            const QString target = url.path().isEmpty() ? file : url.path();
            EXPECT_TRUE(pages.contains(target)) << file.toStdString() << ": " << href.toStdString();
            if (url.hasFragment() && pages.contains(target)) {
                QTextDocument other;
                other.setHtml(readPage(target));
                EXPECT_TRUE(anchorNames(other).count(url.fragment()))
                    << file.toStdString() << ": " << href.toStdString();
            }
        }
        static const QRegularExpression src("<img\\b[^>]*\\bsrc\\s*=\\s*\"([^\"]+)\"");
        for (auto it = src.globalMatch(html); it.hasNext();) {
            const QString name = it.next().captured(1);
            const QVariant data = browser->loadResource(QTextDocument::ImageResource, QUrl(name));
            const QImage image = data.userType() == QMetaType::QImage
                                     ? data.value<QImage>()
                                     : QImage::fromData(data.toByteArray());
            EXPECT_FALSE(image.isNull()) << file.toStdString() << ": " << name.toStdString();
        }
    }
}

// The help window of an App, showing the page of a calculator.
HelpWindow* showHelp(App& app, const QString& page) {
    app.main.showHelp(page);
    settle();
    return app.main.helpWindow();
}

// Moves the keyboard through the page's links with Tab, as a reader does,
// from the top of the page until Tab leaves the page or comes round again,
// and returns them in order; stops on the one that is wanted.
QStringList tabThroughLinks(QTextBrowser* browser, const QString& wanted = {}) {
    browser->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(browser->window()));
    browser->setFocus();
    browser->setTextCursor(QTextCursor(browser->document()));
    QStringList seen;
    int last = -1;
    for (int i = 0; i < 500; ++i) {
        QTest::keyClick(browser, Qt::Key_Tab);
        const QTextCursor at = browser->textCursor();
        if (!browser->hasFocus() || !at.hasSelection() || at.selectionStart() <= last)
            break;
        last = at.selectionStart();
        QTextCursor end(browser->document());
        end.setPosition(at.selectionEnd());
        const QString href = end.charFormat().anchorHref();
        if (!seen.contains(href))
            seen << href;
        if (href == wanted)
            break;
    }
    return seen;
}

// What the user sees in a calculator window's boxes, options and check boxes.
std::map<QString, QString> shownState(QWidget* w) {
    std::map<QString, QString> state;
    for (auto* edit : w->findChildren<QLineEdit*>())
        if (!edit->objectName().isEmpty())
            state[edit->objectName()] = edit->text();
    for (auto* button : w->findChildren<QAbstractButton*>())
        if (button->isCheckable())
            state[button->objectName()] = button->isChecked() ? "on" : "off";
    for (auto* combo : w->findChildren<QComboBox*>())
        state[combo->objectName()] = combo->currentText();
    // A drawing reads its texts out to a screen reader.
    for (auto* widget : w->findChildren<QWidget*>())
        if (auto* drawing = dynamic_cast<DrawingView*>(widget))
            state[drawing->objectName()] = drawing->accessibleDescription();
    return state;
}

// Something else in the window than its example: Clear where it has one,
// else a number typed into its first box.
void disturb(QWidget* w) {
    const auto example = shownState(w);
    if (auto* clear = find<QAbstractButton>(w, "CmdClr"); clear && clear->isVisibleTo(w))
        click(w, "CmdClr");
    if (shownState(w) != example)
        return;
    for (auto* edit : w->findChildren<QLineEdit*>())
        if (edit->isVisibleTo(w) && edit->isEnabled() && !edit->isReadOnly() &&
            !edit->objectName().isEmpty()) {
            type(w, edit->objectName().toLatin1().constData(), "12345");
            break;
        }
}

bool has(QWidget* w, const char* button) {
    auto* b = find<QAbstractButton>(w, button);
    return b && b->isVisibleTo(w) && b->isEnabled();
}

// Tabs to the page's example link and presses Return on it.
void pressExampleLink(HelpWindow* help, const CatalogueEntry& entry) {
    auto* browser = find<QTextBrowser>(help, "HelpBrowser");
    const QString link = QString::fromStdString("ferrovane:example/" + entry.id);
    ASSERT_TRUE(tabThroughLinks(browser, link).contains(link)) << entry.id;
    QTest::keyClick(browser, Qt::Key_Return);
    settle();
}

// The walk's last step, through the real widgets: the calculator's window is
// open and holds something else; the reader tabs to the page's example link
// and presses Return; the window then shows what its Load Example shows.
TEST(HelpPages, EveryExampleLinkLoadsWhatLoadExampleLoads) {
    App app;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator || readPage(pageFile(entry)).isEmpty())
            continue;
        SCOPED_TRACE(entry.id);
        CalculatorWindow* w = app.open(entry.button.c_str());
        ASSERT_NE(w, nullptr);
        // A fresh data folder holds the example, so the window opens on it.
        if (has(w, "CmdLoadData"))
            click(w, "CmdLoadData");
        const auto example = shownState(w);
        disturb(w);
        const bool boxes = !w->findChildren<QLineEdit*>().isEmpty();
        EXPECT_TRUE(shownState(w) != example || !boxes) << "the link is not tried";

        HelpWindow* help = showHelp(app, pageFile(entry));
        ASSERT_NE(help, nullptr);
        pressExampleLink(help, entry);
        EXPECT_EQ(app.main.openCalculatorWindow(), w) << "loaded into the open window";
        EXPECT_EQ(shownState(w), example);
        w->closeAndSave();
        settle();
    }
}

// Not open, or an other calculator open: the link opens its calculator as
// the main window's button does, closing the other as its Close does.
TEST(HelpWindow, AnExampleLinkOpensItsCalculatorClosingAnOtherFirst) {
    App app;
    const CatalogueEntry& lNet = *findCalculator("l-network");
    const CatalogueEntry& divider = *findCalculator("voltage-divider");
    // What the window shows on its example in a fresh data folder.
    CalculatorWindow* w = app.open(lNet.button.c_str());
    ASSERT_NE(w, nullptr);
    const auto example = shownState(w);
    w->closeAndSave();
    settle();

    CalculatorWindow* other = app.open(divider.button.c_str());
    ASSERT_NE(other, nullptr);
    type(other, "TxtVin", "7.5");
    QPointer<CalculatorWindow> gone = other;

    // The other window closes as its Close does, keeping what was typed.
    app.main.loadExample("l-network");
    settle();
    EXPECT_TRUE(gone.isNull());
    w = app.main.openCalculatorWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(&w->calculator(), &lNet.calculator());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(app.main.isVisible());
    EXPECT_NE(app.tmp.read(divider.calculator().dataFile).find("7.5"), std::string::npos);
    EXPECT_EQ(shownState(w), example);
    w->closeAndSave();
    settle();

    // An id no calculator has changes nothing.
    app.main.loadExample("no-such-calculator");
    settle();
    EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
    EXPECT_TRUE(app.main.isVisible());
}

// F1 through the real widgets: the overview from the main window, each
// calculator window its own page, in the program's one help window.
TEST(HelpWindow, F1OpensThePageOfTheWindowItIsPressedIn) {
    App app;
    EXPECT_EQ(app.main.helpWindow(), nullptr) << "nothing of the help is built at start-up";
    auto pressF1 = [](QWidget* window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        settle();
    };
    pressF1(&app.main);
    HelpWindow* help = app.main.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage(), kHelpOverview);

    for (const char* id : {"l-network", "equations"}) {
        const CatalogueEntry& entry = *findCalculator(id);
        CalculatorWindow* w = app.open(entry.button.c_str());
        ASSERT_NE(w, nullptr);
        pressF1(w);
        EXPECT_EQ(app.main.helpWindow(), help) << "one help window, reused";
        EXPECT_EQ(help->currentPage(), pageFile(entry));
        const QString heading = QString::fromStdString(entry.calculator().form.caption);
        EXPECT_TRUE(help->windowTitle().startsWith(heading.simplified()))
            << help->windowTitle().toStdString();
        w->closeAndSave();
        settle();
    }
}

TEST(HelpWindow, BackForwardAndContentsRetraceTheWay) {
    HelpWindow help;
    help.showPage("reactance.html");
    auto* back = find<QPushButton>(&help, "HelpBack");
    auto* forward = find<QPushButton>(&help, "HelpForward");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    help.follow(QUrl("voltage-divider.html"));
    EXPECT_EQ(help.currentPage(), "voltage-divider.html");
    click(&help, "HelpContents");
    EXPECT_EQ(help.currentPage(), kHelpOverview);
    click(&help, "HelpBack");
    EXPECT_EQ(help.currentPage(), "voltage-divider.html");
    click(&help, "HelpBack");
    EXPECT_EQ(help.currentPage(), "reactance.html");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    click(&help, "HelpForward");
    EXPECT_EQ(help.currentPage(), "voltage-divider.html");
    // A link to a place outside the help folder goes nowhere.
    help.follow(QUrl("https://example.org/"));
    EXPECT_EQ(help.currentPage(), "voltage-divider.html");
    // A page that is missing says so instead of showing nothing.
    help.showPage("no-such-page.html");
    EXPECT_TRUE(find<QTextBrowser>(&help, "HelpBrowser")->toPlainText().contains("no-such-page"));
}

TEST(HelpWindow, PrintsThePageIntoAPdf) {
    TempDir tmp;
    HelpWindow help;
    help.showPage("rlc-q.html");
    const QString pdf = QString::fromStdString((tmp.path() / "page.pdf").string());
    help.setPrintFile(pdf);
    click(&help, "HelpPrint");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // It has pages, with the page's text on them.
    static const QRegularExpression countRe("/Count (\\d+)");
    EXPECT_GE(countRe.match(QString::fromLatin1(bytes)).captured(1).toInt(), 1);
    EXPECT_GT(pdfText(tmp.path() / "page.pdf").size(), 1000) << "a page of text";
}

// The words of every page as a regular expression reads them, kept apart
// from the index the search uses.
std::map<QString, QStringList> pagesByWord() {
    static const QRegularExpression word("\\w+", QRegularExpression::UseUnicodePropertiesOption);
    std::map<QString, QStringList> pages;
    for (const QString& file : helpPages()) {
        QTextDocument doc;
        doc.setHtml(readPage(file));
        std::set<QString> seen;
        for (auto it = word.globalMatch(doc.toPlainText()); it.hasNext();)
            seen.insert(it.next().captured().toLower());
        for (const QString& w : seen)
            pages[w] << file;
    }
    return pages;
}

QStringList listed(HelpWindow& help) {
    QStringList files;
    auto* results = find<QListWidget>(&help, "HelpResults");
    for (int i = 0; i < results->count(); ++i)
        files << results->item(i)->data(Qt::UserRole).toString();
    return files;
}

TEST(HelpWindow, SearchListsExactlyThePagesThatHoldTheWord) {
    const auto byWord = pagesByWord();
    QStringList twice;
    for (const auto& [w, files] : byWord)
        if (files.size() == 2 && w.size() >= 6 && !w.contains('_'))
            twice << w;
    ASSERT_FALSE(twice.isEmpty()) << "no word stands on exactly two pages";
    HelpWindow help;
    help.showPage(kHelpOverview);
    // A few of them, spread over the alphabet, typed as a reader types them.
    for (int i = 0; i < 3; ++i) {
        const QString w = twice[i * (twice.size() - 1) / 2];
        auto* box = find<QLineEdit>(&help, "HelpSearch");
        box->clear();
        QTest::keyClicks(box, w.toUpper());
        QStringList found = listed(help);
        QStringList expected = byWord.at(w);
        found.sort();
        expected.sort();
        EXPECT_EQ(found, expected) << w.toStdString();
    }
    // Choosing a hit shows its page with the word selected.
    auto* results = find<QListWidget>(&help, "HelpResults");
    ASSERT_GT(results->count(), 0);
    const QString file = results->item(1)->data(Qt::UserRole).toString();
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualItemRect(results->item(1)).center());
    EXPECT_EQ(help.currentPage(), file);
    EXPECT_EQ(find<QTextBrowser>(&help, "HelpBrowser")->textCursor().selectedText().toLower(),
              twice.back());
}

TEST(HelpWindow, ThePageFollowsADarkPalette) {
    HelpWindow help;
    QPalette dark = help.palette();
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    help.setPalette(dark);
    help.showPage("reactance.html");
    auto* browser = find<QTextBrowser>(&help, "HelpBrowser");
    QImage shot(browser->viewport()->size(), QImage::Format_RGB32);
    browser->viewport()->render(&shot);
    int light = 0, dim = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const int v = qGray(shot.pixel(x, y));
            light += v > 180 ? 1 : 0;
            dim += v < 60 ? 1 : 0;
        }
    EXPECT_GT(dim, shot.width() * shot.height() / 2) << "the background is the palette's";
    EXPECT_GT(light, 50) << "the text is the palette's";
}

} // namespace
} // namespace ferrovane
