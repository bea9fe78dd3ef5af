// The star journey without widgets: the ship and its state table, the stargates chosen among the
// stars of the tree window's display chain, the destination "イスカンダル" and the way back, the
// control actions, the autopilot, and one step of the journey per tick on a virtual clock. The
// window (TFormX3D) runs tick() from its timer, draws the picture the journey keeps and shows the
// texts; questions and notices go through showCheck.
#pragma once

#include "JourneyKeys.h"
#include "JourneyScene.h"

#include "common/CoreTimer.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class NebuLayout;
struct fileInfo;

// The ship and the view, as the journey starts them.
struct ShipState {
    double x = 686, y = 260, z = 213;
    double vx = 0, vy = 0, vz = 0;
    int yaw = 0, pitch = 20, roll = 0;
    int yawRate = 0, pitchRate = 0, rollRate = 0;
    double eye = 160;
    double cx = 512, cy = 520;
    double cxDrift = 0, cyDrift = 0, eyeDrift = 0;
    int64_t energy = 10000;
    bool autopilot = false;
    int nextGate = 0;
    int returning = 0;
};

// The colour of an axis panel ("右", "前", "上") by the offset to the target.
enum class AxisColour { Green, Yellow, Red };

// The texts and colours the window shows, refreshed every tick.
struct JourneyTexts {
    QString infoTop;          // "T=… E=… 右 … 前 … 上 …"
    QString infoBottom;       // the next gate, the destination or the Earth and the offsets
    bool infoBottomAlternate = false; // "（確認中...）" in its second colour
    QString pitchValue, yawValue;     // LabelXrotValue, LabelZrotValue
    QString moveX, moveY, moveZ;      // LabelMvx, LabelMvy, LabelMvz
    QString radarMax;                 // LabelRadarMax
    AxisColour axis[3] = {AxisColour::Red, AxisColour::Red, AxisColour::Red};
    bool aiGreen = false;             // "ＡＩ" green for the second half of every 100 ticks
};

// The index (among the stars, from 0) of gate i for the random number k (0 to 32767), distance
// unit u and s stars: trunc(k × u / 2 / 32767) + i × u + u / 2, so that gate i lies between the
// stars i·u + u/2 and i·u + u; never past the last star. O(1).
int64_t gateStarIndex(int i, int k, int unit, int64_t stars);

class StarJourney {
public:
    static constexpr int kTickStart = 30;  // ms, the first interval of TimerX3D
    static constexpr int kRadarStart = 160;
    // The radar's ceiling: ten thousand objects, which a frame draws well within its tick.
    static constexpr int kRadarMost = 1000;
    static constexpr int kCloseTicks = 100;

    // `layout` is the tree window's (not owned; it must outlive the journey or be replaced
    // through setupJourney before the next tick).
    explicit StarJourney(const NebuLayout& layout);

    // Counts the stars of the display chain, chooses the stargates (seeded by `seed`) and resets
    // the ship to the Earth; `textHeight` is the height of the tree window's text area and
    // `pictureWidth` the picture's. False when the universe has no star (then there is no gate
    // and no destination, the panel text says so, and the journey does not start). O(chain).
    bool setupJourney(const NebuLayout& layout, const JourneyLook& look, int textHeight, int pictureWidth, uint32_t seed);

    // One step of the journey (TimerX3D). Re-entry is ignored; a fault stops the timer. O(frame).
    void tick();

    // A control action now (EditKey, the up-down controls); no action at all while the energy is
    // below 0. True when it acted. O(1).
    bool act(JourneyKey key);
    // The up-down controls of the control panel: one step per click (`up` is the upper arrow).
    // All but the yaw rate act only while the energy is not negative; the side, forward and yaw
    // controls cost 1. True when it acted. O(1).
    enum class UpDown { Mvx, Ymove, Zmove, Xrotation, Zrot };
    bool upDownClick(UpDown which, bool up);

    // A key put at the end of the queue (one queued key is run per tick; 128 at most). O(1).
    void queueKey(JourneyKey key);

    // Autopilot on ↔ off, with its message; floating becomes 2. O(1).
    void switchPilot();
    // "帰還": asks whether to end the journey; yes starts the closing countdown. "再出発" (see
    // restartShown()): the timer runs again. O(1) plus the question.
    void closeButton();

    // The picture the frames are drawn into (null: frames are built but not drawn, as a test
    // that flies a whole journey wants). Not owned.
    void setPicture(QImage* picture) { picture_ = picture; }

    // The float state the window reports (0 docked, 1 floating, 2 after a pilot change).
    void setFloating(int floating) { floating_ = floating; }
    int floating() const { return floating_; }
    // The `mode` attribute of the `startrek` character: 1 asks for program control.
    void setMode(int mode) { mode_ = mode; }
    int mode() const { return mode_; }

    // Settings of the control panel.
    void setRadar(int radar) { radar_ = std::clamp(radar, 1, kRadarMost); }
    int radar() const { return radar_; }
    void setTickInterval(int ms) { tickInterval_ = std::max(10, ms); }
    int tickInterval() const { return tickInterval_; }
    void setBranchesEverywhere(bool on) { look_.branchesEverywhere = on; }
    const JourneyLook& look() const { return look_; }

    // The layout the journey was set up on. O(1).
    const NebuLayout* layout() const { return layout_; }

    // State, for the window and the tests.
    ShipState ship;
    const JourneyTexts& texts() const { return texts_; }
    const QString& panelText() const { return panelText_; } // PanelStarTrek
    int64_t ticks() const { return ticks_; }
    int starCount() const { return stars_; }
    int distanceUnit() const { return unit_; }
    int topSpeed() const { return topSpeed_; }
    const std::vector<const fileInfo*>& gates() const { return gates_; }
    const fileInfo* destination() const { return destination_; }
    const std::vector<JourneyObject>& objects() const { return objects_; }
    const SceneMarkers& markers() const { return markers_; }
    // The message box: two lines and the tick they were put there; shown when messageVisible().
    const QString& messageLine(int i) const { return message_[i ? 1 : 0]; }
    bool messageVisible() const;
    int mapState() const { return mapState_; }
    int panelShift() const { return panelShift_; }
    bool restartShown() const { return restartShown_; } // the close button reads "再出発"
    int closingCountdown() const { return closing_; }
    bool finished() const { return closing_ > kCloseTicks; }
    bool horizonCrossed() const { return horizonCrossings_ > 0; }

    // The timer the window runs; the journey switches it off for its questions and faults.
    TimerSwitch timer;
    // Asked by a tick under program control (mode 1): float the window out.
    std::function<void()> onFloatOut;

private:
    void frame();
    void scene();
    void autopilotStep();
    void message(const QString& first, const QString& second);
    void updateTexts();
    void startClosing();
    bool withinTolerance(int objectIndex) const;
    void offsetTo(const JourneyObject& o, int64_t& dx, int64_t& dy, int64_t& dz) const;
    void runKey(JourneyKey key);

    const NebuLayout* layout_;
    JourneyLook look_;
    QImage* picture_ = nullptr;
    std::vector<const fileInfo*> gates_;
    const fileInfo* destination_ = nullptr;
    std::vector<JourneyObject> objects_;
    std::size_t capacity_ = 0;
    int capacityRadar_ = 0; // the radar the object array was made for
    SceneMarkers markers_;
    JourneyTexts texts_;
    QString panelText_;
    QString message_[2];
    int64_t messageTick_ = -1000;
    std::deque<JourneyKey> keys_;
    int64_t ticks_ = 0;
    int stars_ = 0;
    int unit_ = 1000;
    int topSpeed_ = 30;
    int radar_ = kRadarStart;
    int tickInterval_ = kTickStart;
    int mapState_ = 0;
    int panelShift_ = 0;
    int closing_ = 0;
    int floating_ = 0;
    int mode_ = 0;
    int horizonCrossings_ = 0;
    bool restartShown_ = false;
    bool busy_ = false;
    bool ready_ = false;
};
