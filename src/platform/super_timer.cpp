#include "platform/super_timer.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>

namespace vitrina {
namespace {

const QEvent::Type kTickEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TTickEvent : public QEvent {
public:
    explicit TTickEvent(std::uint64_t generation) : QEvent(kTickEvent), generation(generation) {}
    std::uint64_t generation;
};

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TSuperTimer::TSuperTimer(QObject* owner) : QObject(owner) {
    worker_ = std::thread([this] { Run(); });
}

TSuperTimer::~TSuperTimer() {
    {
        std::lock_guard lock(mutex_);
        terminate_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void TSuperTimer::SetEnabled(bool value) {
    {
        // The worker reads the flag under the mutex.
        std::lock_guard lock(mutex_);
        if (value == enabled_) return;
        enabled_ = value;
    }
    Apply();
}

bool TSuperTimer::Enabled() const {
    std::lock_guard lock(mutex_);
    return enabled_;
}

void TSuperTimer::SetInterval(std::uint16_t value) {
    if (value == interval_) return;
    {
        std::lock_guard lock(mutex_);
        interval_ = value;
        ++generation_;  // the running loop restarts with the new interval
    }
    Apply();
}

void TSuperTimer::SetAccurate(bool value) {
    std::lock_guard lock(mutex_);
    accurate_ = value;
}

std::uint32_t TSuperTimer::Elapsed() const {
    std::lock_guard lock(mutex_);
    return elapsed_;
}

void TSuperTimer::Apply() {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        tickPending_ = false;
        if (enabled_) {
            elapsed_ = 0;
            tickCount_ = 0;
            startTime_ = NowMs();
        }
    }
    wake_.notify_all();
}

void TSuperTimer::Run() {
    std::unique_lock lock(mutex_);
    while (!terminate_) {
        wake_.wait(lock, [this] { return terminate_ || enabled_; });
        if (terminate_) break;
        const std::uint64_t generation = generation_;
        std::int64_t sleepTime = interval_;
        while (!terminate_ && enabled_ && generation == generation_) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<std::int64_t>(sleepTime, 0));
            if (wake_.wait_until(lock, until, [&] { return terminate_ || !enabled_ || generation != generation_; }))
                break;
            elapsed_ += interval_;
            if (accurate_) sleepTime -= NowMs() - startTime_ - elapsed_;
            tickPending_ = true;
            QCoreApplication::postEvent(this, new TTickEvent(generation));
            // Synchronised: the next sleep begins when the tick has run.
            wake_.wait(lock, [&] { return terminate_ || !tickPending_ || generation != generation_; });
        }
    }
}

bool TSuperTimer::event(QEvent* e) {
    bool tick = false;
    bool current = false;
    std::uint64_t generation = 0;
    {
        // The worker makes a tick under the mutex; reading it under the mutex too orders the two
        // where a thread checker can see it (it does not see through Qt's event queue).
        std::lock_guard lock(mutex_);
        if (e->type() == kTickEvent) {
            tick = true;
            generation = static_cast<TTickEvent*>(e)->generation;
            current = generation == generation_ && enabled_;
        }
    }
    if (!tick) return QObject::event(e);
    if (current && !QCoreApplication::closingDown()) {
        ++tickCount_;
        if (OnTimer) {
            try {
                OnTimer(this);
            } catch (...) {
            }
        }
    }
    {
        std::lock_guard lock(mutex_);
        if (generation == generation_) tickPending_ = false;
    }
    wake_.notify_all();
    return true;
}

}  // namespace vitrina
