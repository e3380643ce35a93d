#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "shell/print_job.h"

namespace ferrovane {

// Sends print jobs to Qt's print support: the print dialog, then the chosen
// printer or PDF file. With an output file set, the job goes straight into
// that PDF file and no dialog shows.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(QWidget* parent = nullptr) : parent_(parent) {}
    void setOutputFile(const QString& pdfPath) { outputFile_ = pdfPath; }
    bool print(const PrintJob& job) override;

private:
    QPointer<QWidget> parent_;
    QString outputFile_;
};

} // namespace ferrovane
