#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include "ui/help_search.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;

namespace ferrovane {

// Where the help pages are: beside the executable, then in the installed
// data directory, then in the source tree it was built from.
QString helpFolder();

// The program's help: one page at a time in a text browser (links followed,
// Back, Forward, the overview, Print or save as PDF) and a search over all
// pages. A link "ferrovane:example/ID" asks for the calculator's worked
// example, which the main window loads.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QString folder = helpFolder(), QWidget* parent = nullptr);

    // Shows the page (a file name in the help folder, "index.html") and
    // brings the window to the front.
    void showPage(const QString& file);
    // The file name of the page shown; empty when none could be.
    QString currentPage() const;
    const QString& folder() const { return folder_; }

    // Lists the pages that hold every word of the query, as typing it into
    // the search box does.
    void search(const QString& query);

    // Follows a link of the page shown, as a click on it does.
    void follow(const QUrl& link);

    // With a file set, Print writes the page into that PDF file without a
    // dialog.
    void setPrintFile(const QString& pdfPath) { printFile_ = pdfPath; }
    void print();

signals:
    // A page's example link: load this calculator's worked example.
    void exampleRequested(const QString& id);

private:
    void connectActions();
    void open(const QUrl& url);
    void showHit(QListWidgetItem* item);
    void pageChanged();

    QString folder_;
    QString printFile_;
    HelpIndex index_;
    QTextBrowser* browser_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QListWidget* results_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QPushButton* contents_ = nullptr;
    QPushButton* print_ = nullptr;
};

} // namespace ferrovane
