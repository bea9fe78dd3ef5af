#include "DialogChooserSink.h"

#include "TFormFlog.h"
#include "TFormPath.h"

void DialogChooserSink::choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                                   const QString& startFolder) {
    path = TFormPath::choose(filter, title, path.isEmpty() ? startFolder : path, parent, startFolder);
}

void DialogChooserSink::chooseDrives(QStringList& drives, QWidget* parent) { TFormFlog::choose(drives, parent); }
