// The help files of the help viewer: which file each mode shows and how a file splits into a
// coloured header and a plain body. The viewer (TFormHelp) only draws what this gives.
#pragma once

#include <QString>
#include <QStringList>

// The viewer's modes, and the file each one shows under the home folder.
enum HelpMode : int { HelpBrief = 0, HelpFull = 1, HelpUniverse = 2 };
// "atelier/help_hot.txt", "atelier/help.txt" or "atelier/nebuhelp.txt" (brief for any other mode).
QString helpFileName(int mode);
// The home folder, a "/" when it does not end in one, and the mode's file name.
QString helpFilePath(const QString& homeFolder, int mode);

// A help file as the viewer shows it.
struct HelpText {
    enum Status { Shown, Missing, Unreadable, Empty };
    Status status = Shown;
    QStringList header; // the header's lines, light green
    QString body;       // the rest as read, line ends as "\n"
    QString fault;      // why an unreadable file could not be read
};

// The longest piece the viewer reads at a time, its line end included.
inline constexpr int kHelpPiece = 510;

// Splits a help text: the header is the run of lines from the first up to the first one that
// is shorter than 2 characters once its line end is removed (that line ends it and is not
// shown); a line longer than a piece is read as several pieces, each a header line of its
// own, and the short tail of such a line ends nothing. Everything after the header is
// the body, shown as read. CR LF and lone CR become "\n". Cost: linear in the text.
HelpText splitHelpText(const QString& text);

// Reads the file (code page 932, or UTF-8/UTF-16 with a byte-order mark) and splits it. A file
// that does not exist is Missing, one that cannot be read Unreadable (fault saying why), one
// without any character Empty. Cost: the file, then linear.
HelpText readHelpText(const QString& path);
