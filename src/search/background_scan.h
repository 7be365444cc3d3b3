#pragma once
// A document scan off the window thread. The window thread starts it and returns to its own
// loop; the scan works on what its work function copied, and its progress and its end come back
// to the window thread as queued calls. Stop, a newer Start or the object's end supersede a
// running scan: nothing of it arrives afterwards. The program counts as busy while one runs.
#include <QObject>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "search/document_scan.h"
#include "session/busy.h"

namespace vitrina {

class TBackgroundScan : public QObject {
public:
    // Runs on the worker thread; asks keepGoing(i) before document i, as TScanCallbacks does.
    using TWork = std::function<TScanOutcome(const std::function<bool(std::size_t index)>& keepGoing)>;
    // Run on the window thread: progress as the scan reaches document index, done at its end.
    using TProgress = std::function<void(std::size_t index)>;
    using TDone = std::function<void(const TScanOutcome& outcome)>;

    TBackgroundScan() = default;
    ~TBackgroundScan() override;

    // A running scan is stopped first (this waits for the document it is reading, no longer).
    void Start(TWork work, TProgress progress, TDone done);
    void Stop();
    bool Running() const { return busy_.has_value(); }

private:
    void Join();

    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> stop_;
    // Window thread only: which Start the queued calls must belong to.
    unsigned generation_ = 0;
    std::optional<TBusy> busy_;
};

}  // namespace vitrina
