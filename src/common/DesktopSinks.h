// The windows behind showCheck, choosePath and chooseDrives in the desktop program. Without them
// a message would go unseen and every file, folder and drive choice would answer "cancelled".
#pragma once

#include "DialogChooserSink.h"
#include "WidgetCheckSink.h"

class DesktopSinks {
  public:
    // Installs the message window and the dialog choosers for the object's lifetime; the sinks
    // in place before come back when it ends. Needs a QApplication. Cost: constant.
    DesktopSinks() = default;
    DesktopSinks(const DesktopSinks&) = delete;
    DesktopSinks& operator=(const DesktopSinks&) = delete;

  private:
    WidgetCheckSink messages_;
    ScopedCheckSink messagesInstalled_{&messages_};
    DialogChooserSink choosers_;
    ScopedChooserSink choosersInstalled_{&choosers_};
};
