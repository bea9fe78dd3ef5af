// The space gallery's flight without windows: the camera and its velocity, the autopilot to the
// next, previous, first or last work, the walk from work to work, the run of the work in front,
// and the tour that flies to each work, runs it to its end and flies on. The space gallery's
// timer `TimerMug` calls tick() every 30 ms; every camera change projects the placed works
// (MugSpace) and hands the result to the stage.
#pragma once

#include "MugSpace.h"
#include "PaletteWindow.h"

#include <QRect>
#include <QSize>

#include <vector>

// What the flight asks of the space gallery's window. Every call returns at once.
class MugStage {
public:
    virtual ~MugStage() = default;
    // The placed works (in placement order) and the earth are drawn where the camera sees them.
    virtual void showProjection(const std::vector<MugSpace::Projected>& works, const QRect& earth) = 0;
    // The control strip's lit button (none when all are dark).
    enum class Button { None, Next, Previous, First, Walk };
    virtual void light(Button button) = 0;
    // The run buttons show running or runnable.
    virtual void showRunning(bool running) = 0;
    // "巡■" while touring, "巡回" otherwise.
    virtual void showTourButton(bool touring) = 0;
    // The window becomes the palette's current work window.
    virtual void makeCurrent(PaletteWindow& window) = 0;
    // The gallery's announcement of a run toggle on the window.
    virtual void announceRun(PaletteWindow& window) = 0;
};

class MugFlight {
public:
    static constexpr int kStepTicks = 5;       // the flight and tour steps act every 150 ms
    static constexpr int kLaterTourStart = 3;  // steps after arrival before a later toured work runs

    // `stage` must outlive the flight. Cost: constant.
    explicit MugFlight(MugStage& stage) : stage_(stage) {}

    // Places the windows (each with its group and full size, at most MugSpace::kMaxPlaced) for a
    // `view` sized area, the camera at (400, 0, 400) and at rest, no current work; then projects.
    // Cost: linear in the windows.
    void arrange(std::vector<PaletteWindow*> windows, const std::vector<MugSpace::Work>& works, QSize view);
    // Draws the works from the camera. Cost: linear in the windows.
    void project();

    // Flight controls.
    void accelerate(int dx, int dy, int dz); // velocity change, then a projection
    void next(bool lit = true);              // "次": the next work; at the last the walk ends
    void previous();                         // "前": the previous work; at the first the walk ends
    void first();                            // "始"
    void last();                             // the earth: the last work
    void toggleWalk();                       // "散歩"
    // "目の前の作品を鑑賞する": a running work stops at once; another one is flown to and run.
    void run();
    // "巡回": starts a tour at the current work (the first when none), or ends the running one.
    void toggleTour();
    void endTour();
    // "－" / "＋": one work fewer or more drawn (1 to n). Cost: a projection.
    void changeVisible(int by);
    // A double click on "－" / "＋": 10, respectively every placed work, drawn (at least 1, as
    // at the start possibly more than are placed). Cost: a projection.
    void setVisible(int count);
    // The window became current from outside (its own activation): it is flown to.
    void flyTo(PaletteWindow& window);

    // The space gallery is shown again: no flight, no walk, no current work. Cost: constant.
    void land() {
        target_ = current_ = nullptr;
        walk_ = false;
    }

    // One 30-ms tick (see the class comment). Cost: a projection, an autopilot step or a tour step.
    void tick();

    const MugSpace::Point3& camera() const { return camera_; }
    int currentIndex() const { return index_; }
    PaletteWindow* target() const { return target_; }
    PaletteWindow* tourWindow() const { return tourWindow_; }
    int tourPhase() const { return tourPhase_; }
    bool walking() const { return walk_; }
    int visibleCount() const { return visible_; }
    int placedCount() const { return int(windows_.size()); }
    const MugSpace::Placement& placement() const { return placement_; }

private:
    void flyToIndex(int index);
    void autopilot();
    void tourStep();
    void stopFlightLight();

    MugStage& stage_;
    std::vector<PaletteWindow*> windows_;
    std::vector<QSize> sizes_;
    QSize view_;
    MugSpace::Placement placement_;
    std::vector<MugSpace::Projected> projected_;
    MugSpace::Point3 camera_{0, 0, 400};
    MugSpace::Point3 velocity_;
    int visible_ = MugSpace::kStartVisible;
    int index_ = -1;
    PaletteWindow* current_ = nullptr;
    PaletteWindow* target_ = nullptr; // `flightTarget`
    MugSpace::Flight flight_;
    int autopilotSteps_ = 0;
    bool walk_ = false;
    MugStage::Button lit_ = MugStage::Button::None;
    PaletteWindow* tourWindow_ = nullptr;
    int tourPhase_ = 0;
    bool tourActive_ = false;
    int tourStartAt_ = 0;
    bool runRequest_ = false;
    bool runToggle_ = false;
    int ticks_ = 0;
};
