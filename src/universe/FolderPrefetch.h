// Lists folders ahead of a depth-first walk on helper threads, so that the walk mostly finds the
// listing of its next folder ready. The walk stays on its own thread and decides everything (what
// goes into the tree, in which order, when to stop); the helpers only open and list folders, so
// the walk's result is the same with any number of helpers.
#pragma once

#include "common/Platform.h"

#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FolderPrefetch {
public:
    // A folder open by descriptor together with its entries; not ok() when it could not be read.
    struct Listing {
        std::shared_ptr<const FolderHandle> folder;
        std::vector<FolderEntry> entries;
        bool ok = false;
    };
    struct Job;
    using Ticket = std::shared_ptr<Job>;

    // Starts `helpers` threads (0: every listing is made by the walk itself when it asks).
    explicit FolderPrefetch(int helpers);
    // Stops and joins the helpers; listings not taken are dropped.
    ~FolderPrefetch();
    FolderPrefetch(const FolderPrefetch&) = delete;
    FolderPrefetch& operator=(const FolderPrefetch&) = delete;

    // Queues the child folders `names` of `parent`, which the walk will take in this order before
    // anything queued earlier. O(names).
    std::vector<Ticket> queue(const std::shared_ptr<const FolderHandle>& parent, const std::vector<QString>& names);
    // The listing of a queued folder: made here when no helper has begun it, else waited for.
    Listing take(const Ticket& ticket);
    // Tickets that will not be taken: not yet begun ones are never made. O(tickets).
    void drop(const std::vector<Ticket>& tickets);

    // Opens `name` inside `parent` (never following a link) and lists it. Cost: one listing.
    static Listing list(const FolderHandle& parent, const QString& name);

private:
    void help();

    std::mutex mutex_;
    std::condition_variable work_; // helpers wait here for a folder to list
    std::condition_variable done_; // the walk waits here for a listing a helper is making
    int idle_ = 0;                 // helpers waiting on work_
    bool walkWaiting_ = false;
    std::vector<Ticket> stack_; // the next folder the walk needs is on top
    std::size_t ready_ = 0;      // listings made ahead and not yet taken
    bool stopping_ = false;
    std::vector<std::thread> helpers_;
};
