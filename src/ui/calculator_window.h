#pragma once

#include <QDialog>
#include <QHash>
#include <QPointer>

#include "shell/calculator.h"
#include "shell/data_dir.h"
#include "shell/form.h"
#include "ui/qt_dialogs.h"

class QButtonGroup;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace ferrovane {

// The one window class of every calculator: builds the widgets its
// description asks for (control names become objectNames, labels become
// accessible names), mirrors its Form, and sends every user action through
// the window cycle. Calculate is the default button; Escape is Close.
class CalculatorWindow : public QDialog {
    Q_OBJECT
public:
    // dialogs: where messages go; this window's own message boxes when null.
    CalculatorWindow(const Calculator& calc, const DataDir& dir, Dialogs* dialogs = nullptr,
                     QWidget* parent = nullptr);

    // Form_Load, then shows and places the window.
    void open() override;

    const Form& form() const { return form_; }
    const Calculator& calculator() const { return calc_; }

    // The Close button's work: save, then close; false when the user chose
    // to keep the window open after a failed save.
    bool closeAndSave();

signals:
    // The window has closed and is going away; the main window comes back.
    void closed();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildRegion(const std::vector<ControlSpec>& items, QGridLayout* grid);
    void addBox(const BoxSpec& item, QGridLayout* grid);
    QFrame* buildButtons();
    void refresh();
    void hover(const std::string& control);

    template <typename Action> void act(Action&& action) {
        action();
        refresh();
    }

    const Calculator& calc_;
    QtDialogs ownDialogs_;
    CalcEnv env_;
    Form form_;
    bool closing_ = false;

    QHash<QString, QWidget*> widgets_;         // by control name
    QHash<QString, QButtonGroup*> groups_;     // by group name
    QHash<QString, QLineEdit*> labelledBoxes_; // label name -> its box
};

// Where the pictures are looked for: beside the executable, then in the
// installed data directory, then in the source tree it was built from.
QString findPicture(const QString& file);

} // namespace ferrovane
