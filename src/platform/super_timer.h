#pragma once
// A timer for animations: a worker thread sleeps for the interval and then hands the tick to
// the thread the timer lives on, waiting until that thread has run it (so ticks never pile up
// behind a busy window).
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vitrina {

class TSuperTimer : public QObject {
public:
    // Thread priorities of the original component; only stored, the host scheduler decides.
    enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

    explicit TSuperTimer(QObject* owner = nullptr);
    ~TSuperTimer() override;

    void SetEnabled(bool value);
    bool Enabled() const;
    void SetInterval(std::uint16_t value);
    std::uint16_t Interval() const { return interval_; }
    void SetAccurate(bool value);
    bool Accurate() const { return accurate_; }
    void SetPriority(TThreadPriority value) { priority_ = value; }
    TThreadPriority Priority() const { return priority_; }

    // Ticks since the timer was last enabled; 1 on the first tick.
    std::uint32_t TickCount() const { return tickCount_; }
    // Milliseconds: the sum of intervals since the start.
    std::uint32_t Elapsed() const;

    // Runs on the timer's thread; an exception it raises is swallowed.
    std::function<void(TSuperTimer*)> OnTimer;

protected:
    bool event(QEvent* e) override;

private:
    void Run();
    void Apply();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread worker_;
    bool enabled_ = false;
    bool accurate_ = false;
    bool terminate_ = false;
    bool tickPending_ = false;
    std::uint16_t interval_ = 1000;
    TThreadPriority priority_ = tpHigher;
    std::uint64_t generation_ = 0;  // grows with every enabling, so a stale tick is dropped
    std::int64_t startTime_ = 0;
    std::uint32_t elapsed_ = 0;
    std::uint32_t tickCount_ = 0;
};

}  // namespace vitrina
