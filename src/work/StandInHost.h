// The host of a lone work window until the palette and gallery exist: it keeps what the palette
// would show, prints the message list and the viewing log to standard error, and repaints the
// window when its frame colour changes.
#pragma once

#include "RecordingWorkHost.h"

#include <QPointer>
#include <QWidget>

class StandInHost : public RecordingWorkHost {
public:
    StandInHost();
    // The window whose frame is repainted (not owned).
    void setWindow(QWidget* window) { window_ = window; }

    void paintWindowFrame(uint32_t color) override;
    void logViewing(ViewingEvent event, const QString& caption) override;

private:
    QPointer<QWidget> window_;
};
