// Saving the Atelier's program: save as through the file chooser with the ".acmd" extension
// rules, overwrite of the file it came from, and the question whether unsaved edits are saved.
// Every question and notice goes through showCheck; the file is written through the common
// text writer (atomic; a cancelled or failed save leaves the file as it was).
#pragma once

#include "common/TextCodec.h"

#include <QString>
#include <QStringList>

struct SaveOutcome {
    bool saved = false;
    QString path;                                // the file written
    TextEncoding encoding = TextEncoding::Cp932; // how it was written
};

// Where the chooser starts, shared with the gallery's other program choices.
struct SaveRequest {
    QStringList lines;    // the editor's lines as editorLines gives them
    bool changed = false; // the editor text differs from the file
    QString shownPath;    // the path the Atelier shows for the program (may be a URL or "無題")
    QString* chooserFolder = nullptr; // start folder of the chooser; follows the choice
};

// "acmd 保存": chooser (filter "*.acmd"); a chosen name without "." in its file name gets
// ".acmd" and a notice; another extension asks to change it (no: nothing written); an existing
// file asks to be replaced. Characters without a code page 932 form make the file UTF-8 with a
// byte-order mark, and the user is told. Cost: the chooser, questions and the write.
SaveOutcome saveProgramAs(const SaveRequest& request);

// "acmd上書き": nothing when the text is unchanged; writes the shown file when it is a local file
// that exists; otherwise saves as. Cost: as saveProgramAs.
SaveOutcome overwriteProgram(const SaveRequest& request);

// Asks "ヴィモラ「acmd」ファイルを保存しますか？(Y/N)" when `changed`; true when the user said yes.
// False at once for an unchanged text. Cost: the question.
bool askToSave(bool changed);

// The path with its file name's extension set to ".acmd", and what had to be done: 0 it already
// had it, 1 added (no "." in the file name), 2 replaced (another extension). Only the file name
// is looked at: a folder with a "." in its name does not count. Cost: linear.
int acmdExtension(QString& path);
// The same for any `extension` (".ico"), compared without case. Cost: linear.
int setExtension(QString& path, const QString& extension);
