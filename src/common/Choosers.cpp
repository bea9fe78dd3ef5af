#include "Choosers.h"

namespace {
ChooserSink* g_chooser = nullptr;
}

bool choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                const QString& startFolder) {
    if (!g_chooser) {
        path.clear();
        return false;
    }
    g_chooser->choosePath(filter, title, path, parent, startFolder);
    return !path.isEmpty();
}

bool chooseDrives(QStringList& drives, QWidget* parent) {
    if (!g_chooser) {
        drives.clear();
        return false;
    }
    g_chooser->chooseDrives(drives, parent);
    return !drives.isEmpty();
}

ChooserSink* setChooserSink(ChooserSink* sink) {
    ChooserSink* previous = g_chooser;
    g_chooser = sink;
    return previous;
}

void ScriptedChooserSink::choosePath(const QString& filter, const QString& title, QString& path, QWidget*,
                                     const QString& startFolder) {
    pathRequests.push_back({filter, title, path, startFolder});
    if (paths.empty()) {
        path.clear();
        return;
    }
    path = paths.front();
    paths.pop_front();
}

void ScriptedChooserSink::chooseDrives(QStringList& drives, QWidget*) {
    driveRequests.push_back(drives);
    if (driveAnswers.empty()) return;
    // Only offered drives can be ticked, and they keep the list's order.
    const QStringList ticked = driveAnswers.front();
    driveAnswers.pop_front();
    QStringList chosen;
    for (const QString& d : drives)
        if (ticked.contains(d)) chosen.append(d);
    drives = chosen;
}
