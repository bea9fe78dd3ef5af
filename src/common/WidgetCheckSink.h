// The message sink of the desktop program: every showCheck opens a TFormCheck window.
#pragma once

#include "ShowCheck.h"

#include <QPointer>
#include <QWidget>

class WidgetCheckSink : public CheckSink {
  public:
    // `owner` (not owned, may go away) is the window messages are placed on; without one the
    // active window is used, else the screen.
    explicit WidgetCheckSink(QWidget* owner = nullptr) : owner_(owner) {}

    // Shows the window modally and returns its answer. Blocks until it is closed.
    int show(const QString& text, const QString& caption, int style) override;

  private:
    QPointer<QWidget> owner_;
};
