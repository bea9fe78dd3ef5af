// Choosers of the desktop program until its own chooser windows take over: a Qt file dialog for
// paths and a small tick list for drives, behind the same ChooserSink as the final windows.
#pragma once

#include "Choosers.h"

class DialogChooserSink : public ChooserSink {
  public:
    // Opens a (non-native) file dialog: a file matching the filter, or a folder when the filter
    // is empty (returned with a final "/"). Blocks until it closes.
    void choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                    const QString& startFolder) override;
    // Opens the drive tick list ("OK" / "キャンセル"), all drives ticked at first.
    void chooseDrives(QStringList& drives, QWidget* parent) override;
};
