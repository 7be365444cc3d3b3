#include "search/background_scan.h"

#include <exception>

namespace vitrina {

TBackgroundScan::~TBackgroundScan() {
    Stop();
    Join();
}

void TBackgroundScan::Join() {
    if (thread_.joinable()) thread_.join();
}

void TBackgroundScan::Stop() {
    ++generation_;
    if (stop_) stop_->store(true);
    busy_.reset();
}

void TBackgroundScan::Start(TWork work, TProgress progress, TDone done) {
    Stop();
    Join();
    const unsigned generation = generation_;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    busy_.emplace();
    // The queued calls are dropped with this object when it goes first; the thread is joined
    // before that, so none is posted afterwards.
    thread_ = std::thread([this, generation, stop = stop_, work = std::move(work), progress = std::move(progress),
                           done = std::move(done)] {
        const auto keepGoing = [&](std::size_t index) {
            if (stop->load()) return false;
            QMetaObject::invokeMethod(
                this, [this, generation, progress, index] {
                    if (generation == generation_ && progress) progress(index);
                },
                Qt::QueuedConnection);
            return true;
        };
        TScanOutcome outcome;
        try {
            outcome = work(keepGoing);
        } catch (const std::exception&) {
            // A scan that cannot go on ends as if stopped where it was.
            outcome.end = TScanEnd::Stopped;
        }
        QMetaObject::invokeMethod(
            this, [this, generation, done, outcome] {
                if (generation != generation_) return;
                busy_.reset();
                if (done) done(outcome);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace vitrina
