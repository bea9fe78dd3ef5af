// The break poll of a long loop that runs under a window: the loop's break panel.
#pragma once

#include "BreakPoll.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class PanelBreakPoll : public BreakPoll {
  public:
    // `panel` (not owned, may go away) is the break panel. With a question (such as
    // "コピーを中止しますか？(Y/N)") a press asks it near the top (style 1) and only "はい" breaks;
    // without one a press breaks at once.
    explicit PanelBreakPoll(QWidget* panel, QString question = {}, QString caption = {})
        : panel_(panel), question_(std::move(question)), caption_(std::move(caption)) {}

    // Pumps the windows (pumpPanelMouse) and answers whether to break. Cost: see pumpPanelMouse.
    bool breakRequested() override;

  private:
    QPointer<QWidget> panel_;
    QString question_;
    QString caption_;
};
