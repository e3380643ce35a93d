#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/explore_drawing.h"
#include "shell/explore_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ferrovane {

class DrawingView;

// What the Explore dialog's pages share: the session every run goes
// through, the text metrics of the graphs, and where long runs are shown.
struct ExploreContext {
    ExploreSession& session;
    const TextMetrics& metrics;
    std::function<LongRunHost*()> host;
};

// A checkable list of the results the window computed, each as it reads in
// the window; the first checked.
QListWidget* makeResultList(const ExploreSession& session, const QString& name, QWidget* parent);
std::vector<Quantity> checkedResults(const ExploreSession& session, const QListWidget* list);
// A number text typed into the dialog; nan when it is not one.
double numberFrom(const QString& text);
// Drawings are designed at 15 twips to a pixel.
inline constexpr double kTwipsPerPixel = 15;
// The drawing size, in twips, that fills the view without stretching it.
std::pair<double, double> graphSize(const QWidget* view);

// Sweep: one input from..to, the chosen results drawn against it.
class SweepPage : public QWidget {
public:
    SweepPage(ExploreContext context, QWidget* parent);

    void run();
    const std::optional<SweepResult>& result() const { return result_; }
    const PlotScale& scale() const { return scale_; }
    // The table as tab-separated text, its gaps after it.
    QString tableText() const;
    // The table as CSV, or the graph as PNG (or SVG by the name); false when
    // nothing was written.
    bool saveCsv(const QString& path);
    bool savePicture(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSettings();
    QWidget* buildButtons();
    void inputChosen();
    void show(SweepResult result);
    void redraw();
    void say(const QString& text);
    void copy();
    void askAndSave(const QString& filter, const QString& suffix);

    ExploreContext ctx_;
    QComboBox* input_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QSpinBox* points_ = nullptr;
    QCheckBox* log_ = nullptr;
    QListWidget* outputs_ = nullptr;
    DrawingView* graph_ = nullptr;
    QListWidget* gaps_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* run_ = nullptr;
    std::vector<QPushButton*> exports_;
    std::optional<SweepResult> result_;
    PlotScale scale_;
};

// Tolerance: chosen inputs spread within +/- their percentages, Monte Carlo
// or every corner; a table of each result's spread and a histogram of one.
class TolerancePage : public QWidget {
public:
    TolerancePage(ExploreContext context, QWidget* parent);

    void run();
    const std::optional<ToleranceResult>& result() const { return result_; }
    QString tableText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSettings();
    QWidget* buildResults();
    std::optional<ToleranceRequest> request();
    void show(ToleranceResult result);
    void drawSelected();
    void say(const QString& text);

    ExploreContext ctx_;
    QTableWidget* inputs_ = nullptr;
    QSpinBox* runs_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QCheckBox* worstCase_ = nullptr;
    QListWidget* outputs_ = nullptr;
    QTableWidget* table_ = nullptr;
    DrawingView* histogram_ = nullptr;
    QListWidget* messages_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* copy_ = nullptr;
    std::optional<ToleranceResult> result_;
    bool worstCaseRun_ = false;
    PlotScale scale_;
};

} // namespace ferrovane
