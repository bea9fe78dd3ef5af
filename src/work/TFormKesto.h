// The work window: it owns a runner, the program timer `TimerProg` and the frame timer
// `TimerKesto`, and paints the picture inside the frame strips. The timers follow what the
// runner asks for; everything else is the runner's.
#pragma once

#include "KestoHost.h"
#include "WorkRunner.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class TFormKesto : public QWidget {
    Q_OBJECT
public:
    // `host` must outlive the window.
    explicit TFormKesto(KestoHost& host, int workNumber = 0, QWidget* parent = nullptr);
    ~TFormKesto() override;

    // Loads a program file (fetched when the folder is an http address) and shows the work (the first animation block built, the frame timer
    // on when there is a character). False when it could not be loaded (reported).
    bool openWork(const QString& folder, const QString& fileName);

    WorkRunner& runner() { return *runner_; }
    KestoHost& host() { return host_; }
    QTimer& timerProg() { return TimerProg; }
    QTimer& timerKesto() { return TimerKesto; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void syncTimers();
    void TimerProgTimer();
    void TimerKestoTimer();

    KestoHost& host_;
    QTimer TimerProg;
    QTimer TimerKesto;
    std::unique_ptr<WorkRunner> runner_;
};
