#include "ui/qt_long_run.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

namespace ferrovane {

namespace {

constexpr int kSteps = 1000;
constexpr int kPollMs = 50;
// Work that ends sooner than this shows no dialog at all.
constexpr int kShowAfterMs = 300;

} // namespace

bool QtLongRunHost::run(const std::string& title, const LongWork& work) {
    Progress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });

    QProgressDialog dialog(QString::fromStdString(title), QObject::tr("Cancel"), 0, kSteps,
                           parent_);
    dialog.setObjectName("LongRun");
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(kShowAfterMs);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        progress.cancel();
        dialog.setLabelText(QObject::tr("Stopping..."));
    });

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        if (dialog.wasCanceled() && !progress.cancelled())
            progress.cancel();
        if (!progress.cancelled())
            dialog.setValue(static_cast<int>(std::clamp(progress.done(), 0.0, 1.0) * (kSteps - 1)));
    });
    poll.start(kPollMs);
    if (!finished.load())
        loop.exec();
    poll.stop();
    worker.join();
    dialog.hide();
    if (failure)
        std::rethrow_exception(failure);
    return !progress.cancelled();
}

} // namespace ferrovane
