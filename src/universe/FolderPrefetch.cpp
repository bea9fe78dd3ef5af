#include "FolderPrefetch.h"

#include <algorithm>

namespace {

// Listings made ahead hold a descriptor and their entries until taken; this many are enough to
// keep the helpers busy without holding a large part of the tree twice.
constexpr std::size_t kAhead = 256;

enum class JobState { Waiting, Running, Done, Dropped };

} // namespace

struct FolderPrefetch::Job {
    std::shared_ptr<const FolderHandle> parent;
    QString name;
    JobState state = JobState::Waiting;
    Listing listing;
};

FolderPrefetch::FolderPrefetch(int helpers) {
    for (int i = 0; i < helpers; ++i) helpers_.emplace_back([this] { help(); });
}

FolderPrefetch::~FolderPrefetch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& t : helpers_) t.join();
}

FolderPrefetch::Listing FolderPrefetch::list(const FolderHandle& parent, const QString& name) {
    Listing l;
    auto folder = std::make_shared<FolderHandle>(parent.openChild(name));
    l.ok = folder->list(l.entries);
    l.folder = std::move(folder);
    return l;
}

std::vector<FolderPrefetch::Ticket> FolderPrefetch::queue(const std::shared_ptr<const FolderHandle>& parent,
                                                          const std::vector<QString>& names) {
    std::vector<Ticket> tickets;
    tickets.reserve(names.size());
    for (const QString& name : names) {
        auto job = std::make_shared<Job>();
        job->parent = parent;
        job->name = name;
        tickets.push_back(std::move(job));
    }
    if (helpers_.empty()) return tickets;
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        stack_.insert(stack_.end(), tickets.rbegin(), tickets.rend());
        wake = idle_ > 0 && !tickets.empty();
    }
    if (wake) work_.notify_all();
    return tickets;
}

FolderPrefetch::Listing FolderPrefetch::take(const Ticket& ticket) {
    {
        std::unique_lock lock(mutex_);
        if (ticket->state == JobState::Waiting) {
            ticket->state = JobState::Running; // the walk makes it itself, now
        } else {
            walkWaiting_ = true;
            done_.wait(lock, [&] { return ticket->state == JobState::Done; });
            walkWaiting_ = false;
            ticket->state = JobState::Dropped;
            ticket->parent.reset();
            // Helpers stop at kAhead listings made ahead; one taken lets them go on.
            if (ready_-- == kAhead && idle_ > 0) work_.notify_all();
            return std::move(ticket->listing);
        }
    }
    Listing l = list(*ticket->parent, ticket->name);
    std::lock_guard lock(mutex_);
    ticket->state = JobState::Dropped;
    ticket->parent.reset();
    return l;
}

void FolderPrefetch::drop(const std::vector<Ticket>& tickets) {
    std::lock_guard lock(mutex_);
    const bool full = ready_ >= kAhead;
    for (const Ticket& t : tickets) {
        if (t->state == JobState::Done) --ready_;
        // A listing a helper is making is thrown away when it is done.
        t->state = JobState::Dropped;
        t->listing = Listing();
        t->parent.reset();
    }
    if (full && ready_ < kAhead && idle_ > 0) work_.notify_all();
}

void FolderPrefetch::help() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        work_.wait(lock, [&] { return stopping_ || (!stack_.empty() && ready_ < kAhead); });
        --idle_;
        if (stopping_) return;
        const Ticket job = std::move(stack_.back());
        stack_.pop_back();
        if (job->state != JobState::Waiting) continue;
        job->state = JobState::Running;
        const std::shared_ptr<const FolderHandle> parent = job->parent;
        lock.unlock();
        Listing l = list(*parent, job->name);
        lock.lock();
        if (job->state == JobState::Running) {
            job->listing = std::move(l);
            job->state = JobState::Done;
            ++ready_;
            if (walkWaiting_) done_.notify_one();
        }
    }
}
