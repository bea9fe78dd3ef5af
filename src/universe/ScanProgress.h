// Where a scan or a read reports its progress: the progress window TFormLoad, a terminal, or
// nothing. Every call is cheap for the caller; the receiver decides how often to repaint.
#pragma once

#include <QString>

class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    // Shows the progress; `withBreak` shows the 中断 panel (scans), reads hide it.
    virtual void showProgress(bool withBreak) = 0;
    virtual void setCounterText(const QString& text) = 0;
    virtual void setPathText(const QString& text) = 0;
    // The break was taken: the 中断 panel goes, the path band shows `text` centred.
    virtual void showStopping(const QString& text) = 0;
    virtual void hideProgress() = 0;
};
