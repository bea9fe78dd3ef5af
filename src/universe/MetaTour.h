// The meta tour and mouse-over of a view of the universe (the tree window or the database view),
// without widgets: the view's timer calls tick(); the tour walks the view's nodes one after the
// other and keeps each page open for a while; mouse-over opens a page when the pointer touches a
// mark and then pauses a second. The view does the showing through MetaTourView.
#pragma once

#include "metaInfo.h"

#include <QString>

// What a tour asks of its view.
class MetaTourView {
public:
    virtual ~MetaTourView() = default;
    // The tour is about to begin (the tree window goes back to its top when at its last node).
    virtual void beginTour() = 0;
    // True when the current node (row) is the last one the view shows.
    virtual bool atLast() const = 0;
    // `next`: the next node (row) becomes current; otherwise the current one is made current
    // again. Either way the view's cursor moves there.
    virtual void moveOn(bool next) = 0;
    // The current node's metadata, nullptr without.
    virtual const metaInfo* currentMeta() const = 0;
    virtual QString currentName() const = 0;
    virtual void openCurrentPage() = 0;
    virtual void closePage() = 0;
    // The progress box: shown with the tour, then its two texts at every step, hidden at the end.
    virtual void showTourBox(bool shown) = 0;
    virtual void tourProgress(const QString& message, const QString& name) = 0;
    // The tour ended; `reachedLast` when it ended by reaching the last node.
    virtual void tourEnded(bool reachedLast) = 0;
};

class MetaTour {
public:
    static constexpr int kFirstStepTicks = 5; // from the start to the first page
    static constexpr int kPassTicks = 5;      // over a node without valid metadata
    static constexpr int kDefaultSpeed = 50;  // ticks a page stays open
    static constexpr int kSpeedStep = 10;
    static constexpr int kHoverPause = 20;    // the hover state after an opening

    // `dwellCounts`: a page stays its metadata's dwell factor times the speed (tree window); the
    // database view keeps every page the speed alone.
    explicit MetaTour(bool dwellCounts) : dwellCounts_(dwellCounts) {}

    // Starts the tour, or stops a running one. O(1) plus the view's work.
    void toggle(MetaTourView& view);
    // Ends the tour: box hidden, page closed, state 0. O(1) plus the view's work.
    void stop(MetaTourView& view);
    // One timer tick: a tour step while the tour runs, then a paused hover state goes down by one.
    void tick(MetaTourView& view);

    // "▲" slower, "▼" faster (not below 10); "5" for the default speed. O(1).
    void slower() { speed_ += kSpeedStep; }
    void faster() {
        if (speed_ > kSpeedStep) speed_ -= kSpeedStep;
    }
    QString speedText() const { return QString::number(speed_ / 10); }

    // 0 off; 2 started, first step pending; 1 running.
    int state() const { return state_; }
    bool running() const { return state_ != 0; }
    int countdown() const { return countdown_; }
    int speed() const { return speed_; }

    // Mouse-over: 0 off, 1 on, above 1 on and paused. toggleHover switches between 0 and 1 (a
    // paused state becomes 0); hoverReady() is true at exactly 1; hoverOpened() pauses. O(1).
    void toggleHover() { hover_ = hover_ == 0 ? 1 : 0; }
    bool hoverReady() const { return hover_ == 1; }
    void hoverOpened() { hover_ = kHoverPause; }
    int hover() const { return hover_; }

private:
    void step(MetaTourView& view);

    bool dwellCounts_;
    int state_ = 0;
    int countdown_ = 0;
    int speed_ = kDefaultSpeed;
    int hover_ = 0;
};
