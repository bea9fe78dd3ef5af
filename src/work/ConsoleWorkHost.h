// The host of a work window run on its own (vimora-run --window): there is no gallery and no
// palette, so the window is free and its own current window. The palette's message list and
// viewing log are printed to standard error; the run button's toggle and the close are carried
// out on the next turn of the event loop, as the palette's timer would.
#pragma once

#include "KestoHost.h"
#include "ViewingLog.h"

#include <QPointer>

class ConsoleWorkHost : public KestoHost, public WorkHost {
public:
    // The window this host serves (not owned).
    void setWindow(TFormKesto* window);

    WorkPaletteSide& workPalette() override { return *this; }
    WorkGallerySide& workGallery() override { return *this; }

    int paletteFramePeriod() const override { return framePeriod_; }
    void framePeriodChanged(int milliseconds) override { framePeriod_ = milliseconds; }
    void addMessage(const QString& line) override;
    void logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) override;
    int stopFlag() const override { return stop_; }
    void setStopFlag(int flag) override { stop_ = flag; }

    TFormKesto* currentWindow() const override;
    void requestClose(TFormKesto& window) override;
    void requestRunToggle(TFormKesto& window) override;
    void toggleMusic() override;

private:
    QPointer<TFormKesto> window_;
    ViewingLog viewing_;
    int framePeriod_ = 100;
    int stop_ = 0;
};
