// The choosers of the desktop program: the program's own path chooser TFormPath and the drive
// log window TFormFlog, behind the same ChooserSink as the scripted answers of tests and tools.
#pragma once

#include "Choosers.h"

class DialogChooserSink : public ChooserSink {
  public:
    // Opens TFormPath modally: a file matching the filter, or a folder when the filter is empty
    // (ending with "/"); `startFolder` is shown when `path` is empty and is where "Home" goes.
    void choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                    const QString& startFolder) override;
    // Opens TFormFlog modally, all drives ticked at first.
    void chooseDrives(QStringList& drives, QWidget* parent) override;
};
