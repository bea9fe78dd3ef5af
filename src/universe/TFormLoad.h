// The progress window of scans and reads: "HD宇宙を探査しています..." with a counter band, a path
// band and the 中断 panel, placed inside the grid that it covers.
#pragma once

#include "ScanProgress.h"

#include "common/PanelBreakPoll.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;

class TFormLoad : public QWidget, public ScanProgress {
    Q_OBJECT
public:
    // A borderless child of `host` (the tree grid or the database view's grid).
    explicit TFormLoad(QWidget* host);
    ~TFormLoad() override;

    // Called on a press of the 中断 panel while a scan runs on a worker thread (the window's own
    // event loop delivers it; a scan on this thread polls breakPoll() instead).
    std::function<void()> onBreakPressed;

    // The break poll of the 中断 panel, for the scan. Owned by this window.
    BreakPoll* breakPoll() { return breakPoll_.get(); }

    // Takes the host's width minus 120 (scan) or 320 (read) pixels, centred; shows the 中断
    // panel only for scans; paints at once, since no event loop runs during a scan.
    void showProgress(bool withBreak) override;
    void setCounterText(const QString& text) override;
    void setPathText(const QString& text) override;
    void showStopping(const QString& text) override;
    void hideProgress() override;

    // What the counter and path bands show, and whether the 中断 panel is up. O(1).
    QString counterText() const;
    QString pathText() const;
    bool breakPanelShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caption_;
    QLabel* counter_;
    QLabel* path_;
    QLabel* version_;
    QLabel* panelBreak_;
    std::unique_ptr<PanelBreakPoll> breakPoll_;
};
