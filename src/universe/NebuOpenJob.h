// Opening a universe (a scan or constellation data) on a worker thread, so that the window that
// asked keeps drawing and answering: the job fills a model of its own, reports its progress texts
// for the window's timer to show, takes a break request at any time, and records its messages,
// which the window shows through showCheck once the job is done. The window's own tree is not
// touched until it takes the finished model.
#pragma once

#include "UniverseModel.h"

#include "common/BreakPoll.h"
#include "common/ShowCheck.h"

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class NebuOpenJob {
public:
    // Starts opening `path` (a folder, or a ".nebu" file, joined to `workFolder` unless rooted)
    // down to `searchDepth` levels at once. Cost: a thread start.
    NebuOpenJob(const QString& path, const QString& workFolder, int searchDepth);
    // Breaks a running job and waits for it.
    ~NebuOpenJob();
    NebuOpenJob(const NebuOpenJob&) = delete;
    NebuOpenJob& operator=(const NebuOpenJob&) = delete;

    // True once the worker has ended; the result and the model are then ready. O(1).
    bool finished() const { return finished_.load(); }
    // Blocks until the worker has ended.
    void wait();
    // The 中断 panel was pressed: the scan stops after the galaxy it is in.
    void requestBreak() { break_.flag.store(true); }

    // What the progress window should show now. O(length), under a short lock.
    struct Progress {
        QString counter;
        QString path;
        QString stopping; // set once the break was taken
        bool withBreak = false;
    };
    Progress progress() const;

    // After finished(): openPath's result (1 done, 0 broken, -1 failed), the model, and the
    // messages the worker would have shown, in order.
    int result() const { return result_; }
    std::unique_ptr<UniverseModel> takeModel() { return std::move(model_); }
    const std::vector<RecordingCheckSink::Record>& messages() const { return messages_.records; }
    // True when the job read constellation data rather than scanning. O(1).
    bool isRead() const { return read_; }

private:
    class Report;
    void run();

    std::unique_ptr<UniverseModel> model_;
    std::unique_ptr<Report> report_;
    FlagBreakPoll break_;
    RecordingCheckSink messages_;
    std::atomic<bool> finished_{false};
    int result_ = -1;
    bool read_ = false;
    std::thread worker_;
};
