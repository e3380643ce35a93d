#include "ui/help_search.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "calculators/catalogue.h"
#include "shell/help_topics.h"

namespace ferrovane {

namespace {

// Where a page stands in the list of hits: the overview, then the main
// window's order, then any other page by name.
int rank(const QString& file) {
    if (file == QLatin1String(kHelpOverview))
        return 0;
    int place = 1;
    for (const CatalogueEntry& entry : catalogue()) {
        if (file == QString::fromStdString(helpPageFile(entry.id)))
            return place;
        ++place;
    }
    return place;
}

} // namespace

QStringList HelpIndex::words(const QString& text) {
    QStringList out;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            out << word.toCaseFolded();
            word.clear();
        }
    }
    if (!word.isEmpty())
        out << word.toCaseFolded();
    return out;
}

QString pageHeading(const QTextDocument& doc, const QString& file) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() == 1 && !block.text().trimmed().isEmpty())
            return block.text().simplified();
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle).simplified();
    return title.isEmpty() ? file : title;
}

void HelpIndex::load() {
    loaded_ = true;
    const QDir dir(folder_);
    for (const QString& file : dir.entryList({"*.html"}, QDir::Files)) {
        QFile in(dir.filePath(file));
        if (!in.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(in.readAll()));
        const QStringList found = words(doc.toPlainText());
        pages_.push_back({{file, pageHeading(doc, file)}, {found.begin(), found.end()}});
    }
    std::stable_sort(pages_.begin(), pages_.end(), [](const Page& a, const Page& b) {
        const int ra = rank(a.hit.file), rb = rank(b.hit.file);
        return ra != rb ? ra < rb : a.hit.file < b.hit.file;
    });
}

std::vector<HelpHit> HelpIndex::find(const QString& query) {
    const QStringList wanted = words(query);
    if (wanted.isEmpty())
        return {};
    if (!loaded_)
        load();
    std::vector<HelpHit> hits;
    for (const Page& page : pages_)
        if (std::all_of(wanted.begin(), wanted.end(),
                        [&page](const QString& w) { return page.words.contains(w); }))
            hits.push_back(page.hit);
    return hits;
}

} // namespace ferrovane
