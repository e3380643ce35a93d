#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace ferrovane {

// What a long computation sees of its host: where to report progress and
// whether the user asked it to stop. It runs off the window's thread, so it
// must not touch the form, dialogs or files: it computes into its own
// result, which the handler applies after runLong returns true.
class Progress {
public:
    // done in 0..1.
    void report(double done) { done_.store(done, std::memory_order_relaxed); }
    double done() const { return done_.load(std::memory_order_relaxed); }
    bool cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    void cancel() { cancel_.store(true, std::memory_order_relaxed); }

private:
    std::atomic<double> done_{0};
    std::atomic<bool> cancel_{false};
};

using LongWork = std::function<void(Progress&)>;

// Runs long work. The default, without a host, runs it at once on the
// calling thread; the Qt view runs it on a worker thread behind a progress
// bar with Cancel. Returns false when the work was cancelled.
class LongRunHost {
public:
    virtual ~LongRunHost() = default;
    virtual bool run(const std::string& title, const LongWork& work) = 0;
};

} // namespace ferrovane
