// The progress strip of long operations: a message, a count and the break button "中断".
#pragma once

#include "ProgressStrip.h"
#include "BreakPoll.h"

#include <QWidget>

class QLabel;
class QPushButton;

class TFormDoing : public QWidget, public BreakPoll {
    Q_OBJECT
public:
    // `defaultParent` (not owned) receives the strip when showProgress names no parent.
    explicit TFormDoing(QWidget* defaultParent);

    // Shows the strip 600 x 40 at top 32, centred in `parent` (the default parent when nullptr),
    // with the message centred (alignment 0), left (1) or right (other). Clears the break flag.
    void showProgress(const QString& message, int alignment, QWidget* parent = nullptr);

    // The count beside the break button, set by the caller as the operation goes on.
    void setCount(const QString& text);

    // Lets pending input reach the break button (input aimed elsewhere is dropped, see
    // pumpPanelMouse), then answers whether it was pressed since the last call. Cost: one pass of
    // the event loop at most every 50 ms.
    bool breakRequested() override;

    const ProgressStrip& strip() const { return strip_; }
    QPushButton* breakButton() const { return PanelBreak; }
    QLabel* messagePanel() const { return PanelMsg; }
    QLabel* countPanel() const { return PanelCount; }

private:
    QWidget* defaultParent_; // non-owning
    ProgressStrip strip_;
    QLabel* PanelMsg;        // children, owned by this widget
    QLabel* PanelCount;
    QPushButton* PanelBreak;
};
