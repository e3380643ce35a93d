#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class QTextDocument;

namespace ferrovane {

// A page that a search found: its file name in the help folder and the
// heading it shows.
struct HelpHit {
    QString file;
    QString title;
};

// Whole-word search over every page of the help folder. The pages are read
// on the first search, as the text the viewer shows (tags gone, entities
// decoded), and kept.
class HelpIndex {
public:
    explicit HelpIndex(QString folder) : folder_(std::move(folder)) {}

    // The pages holding every word of the query, letter case aside: the
    // overview first, then the calculators in the main window's order.
    // Nothing for a query without words.
    std::vector<HelpHit> find(const QString& query);

    // The words of a text, case-folded: runs of letters and digits.
    static QStringList words(const QString& text);

private:
    struct Page {
        HelpHit hit;
        QSet<QString> words;
    };
    void load();

    QString folder_;
    bool loaded_ = false;
    std::vector<Page> pages_; // in the order find lists them
};

// The heading a page shows: its first level-one heading, else its title,
// else its file name.
QString pageHeading(const QTextDocument& page, const QString& file);

} // namespace ferrovane
