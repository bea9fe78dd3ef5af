// The gallery's start-up settings: the home folder, the .env settings file and the command-line
// words home=, wide=, wide and alldisp= (a command-line word wins over a settings line).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class GallerySettings {
public:
    QString homeFolder;    // ends with "/", no "\"; base of every catalog path
    QString chooserFolder; // where the program file chooser starts
    QString workFolder;    // folder of the last work loaded from a local folder
    std::optional<QStringList> settingsText; // kept lines of the settings file; none without the file
    bool startWide = false; // the gallery window starts maximised
    int autoModeLevel = 0;  // alldisp=: 0 one display, 1 list, 2 list + present all, 3+ + run all

    // Start-up steps before the palette: home folder from home= or `defaultHome` (the folder part
    // of `programFile`, which should be absolute, when empty), the settings file "<program name up to its first '.'>.env" in it, a
    // home= line there, then wide=, wide and alldisp=. Command-line words come from
    // setCommandLine. Cost: one small file read.
    static GallerySettings read(const QString& programFile, const QString& defaultHome = {});

    // The lines of a settings file as kept: each line whole, trailing characters <= 0x20 cut,
    // empty lines dropped (a line of spaces does not end the list). None when missing or unreadable;
    // a file that is there but cannot be read (locked, a pipe, too large) is reported.
    static std::optional<QStringList> readSettingsFile(const QString& path);
};
