// Where the installed or built program finds the files it ships with.
#pragma once

#include <QString>
#include <QStringList>

// The home folder that comes with the program and the folders looked at for it.
struct BundledHome {
    QString folder;         // absolute, ends with "/"; empty when no candidate holds a url.txt
    QStringList candidates; // the folders looked at, in order, absolute
};

// Looks for the bundled home of a program in `programFolder`: first "home" next to the program
// (the build tree links the sources' home there), then `installedHome`, relative to the program
// folder (the installed layout). A candidate counts only when it holds url.txt, the catalog the
// gallery starts from. Cost: two file checks.
BundledHome findBundledHome(const QString& programFolder,
                            const QString& installedHome = QStringLiteral("../share/vimora/home"));

// Tells the user through showCheck that no home folder was found, naming every candidate and
// the home= word that names one. Cost: one message.
void reportMissingHome(const BundledHome& lookup);
