#include "NebuOpenJob.h"

#include "ScanProgress.h"

#include "common/Settings.h"

class NebuOpenJob::Report : public ScanProgress {
public:
    void showProgress(bool withBreak) override {
        std::lock_guard lock(mutex);
        now.withBreak = withBreak;
    }
    void setCounterText(const QString& text) override {
        std::lock_guard lock(mutex);
        now.counter = text;
    }
    void setPathText(const QString& text) override {
        std::lock_guard lock(mutex);
        now.path = text;
    }
    void showStopping(const QString& text) override {
        std::lock_guard lock(mutex);
        now.stopping = text;
    }
    void hideProgress() override {}

    mutable std::mutex mutex;
    Progress now;
};

NebuOpenJob::NebuOpenJob(const QString& path, const QString& workFolder, int searchDepth)
    : model_(std::make_unique<UniverseModel>(path, workFolder)), report_(std::make_unique<Report>()) {
    treeInfo& tree = model_->tree();
    tree.searchDepth = searchDepth;
    read_ = equalsCaseless(QStringView(tree.pathBuffer).right(5), u".nebu");
    model_->setBreakPoll(&break_);
    model_->setProgress(report_.get());
    worker_ = std::thread([this] { run(); });
}

NebuOpenJob::~NebuOpenJob() {
    requestBreak();
    wait();
}

void NebuOpenJob::wait() {
    if (worker_.joinable()) worker_.join();
}

void NebuOpenJob::run() {
    CheckSink* previous = setThreadCheckSink(&messages_);
    result_ = model_->openPath();
    model_->setBreakPoll(nullptr);
    model_->setProgress(nullptr);
    setThreadCheckSink(previous);
    finished_.store(true);
}

NebuOpenJob::Progress NebuOpenJob::progress() const {
    std::lock_guard lock(report_->mutex);
    return report_->now;
}
