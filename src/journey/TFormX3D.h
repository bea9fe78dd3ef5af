// The window of the star journey, "メタ宇宙の旅": a child that fills the tree window (TFormNebu)
// and floats out as a window of its own on request. It runs the journey (StarJourney) on its
// timer TimerX3D, shows the picture the journey draws with the message box, the status texts and
// the control panel over it, and turns released keys and clicks into the journey's actions.
#pragma once

#include "StarJourney.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class TFormNebu;

class TFormX3D : public QWidget {
    Q_OBJECT
public:
    // The journey of `nebu`: made on first use (filling the tree window, shown, set up once the
    // tree window's scan or read is done); a journey already there is set up afresh and raised.
    static TFormX3D* openJourney(TFormNebu& nebu);
    // The journey window of `nebu`, or null. O(children).
    static TFormX3D* journeyOf(TFormNebu& nebu);

    explicit TFormX3D(TFormNebu& nebu);
    ~TFormX3D() override;

    StarJourney& journey() { return *journey_; }
    // Sets the journey up on the tree window's present tree (or waits for its open to end). O(chain).
    void setupJourney();
    // One tick of TimerX3D (tests call it instead of waiting for the timer).
    void timerTick();
    QTimer& timer() { return TimerX3D; }
    // "宙" / "戻". O(1).
    void toggleFloat();
    bool isFloating() const { return parentWidget() == nullptr; }
    // The picture as drawn last. O(1).
    const QImage& picture() const { return picture_; }

    // Told once when the closing countdown has ended, just before the window closes.
    std::function<void()> onFinished;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void placeControls();
    void showState();
    void pilotChanged();
    void fillNebu();
    void setPanelOpen(bool open);

    QPointer<TFormNebu> nebu_;
    const QObject* nebuFiltered_ = nullptr;
    std::unique_ptr<StarJourney> journey_;
    QImage picture_;
    QTimer TimerX3D;
    bool pendingSetup_ = true;
    bool lastAutopilot_ = false;
    bool panelOpen_ = true;
    bool done_ = false;
    int panelShown_ = 0;

    QWidget* view_ = nullptr;
    QLabel* PanelStarTrek = nullptr;
    QLabel* PanelNavi = nullptr;
    QLabel* PanelClose = nullptr;
    QLabel* labelInfoTop = nullptr;
    QLabel* labelInfoBottom = nullptr;
    QLabel* axis_[3] = {};
    QLabel* messageBox_ = nullptr;
    QWidget* PanelCmd = nullptr;
    QLabel* PanelCtrl = nullptr;
    QLabel* PanelAI = nullptr;
    QLabel* PanelWarp = nullptr;
    QLabel* PanelFast = nullptr;
    QLabel* PanelFree = nullptr;
    QPushButton* bbtnClose = nullptr;
    QLabel* LabelMvx = nullptr;
    QLabel* LabelMvy = nullptr;
    QLabel* LabelMvz = nullptr;
    QLabel* LabelXrotValue = nullptr;
    QLabel* LabelZrotValue = nullptr;
    QLabel* LabelWait = nullptr;
    QLabel* LabelRadarMax = nullptr;
};
