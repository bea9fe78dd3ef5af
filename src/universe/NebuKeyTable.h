// The command keys of the tree window as a table without widgets: a released key with its
// modifiers gives one command and its argument. The keyboard and the key commands that a work
// plays into the window both go through it, so they always mean the same.
#pragma once

#include "NebuCursor.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <Qt>
#include <optional>

enum class NebuCommand {
    None,
    ScanDrive,        // Ctrl + letter; argument: 0 for A … 25 for Z
    SearchDepth,      // Ctrl + digit (main or keypad); argument: the digit
    ToggleMark,       // Space
    FlipAttributes,   // A: view flags 1, 2 and 4 inverted
    Bottom,           // B, keypad 1
    Copy,             // C
    TimeFlag,         // D
    StarsToggle,      // F
    IndentStep,       // I; argument +1 wider, -1 narrower (Shift)
    TopGalaxy,        // J; argument 1 with Shift (the root becomes the top galaxy)
    NameLengthStep,   // L; argument +1 / -1 (Shift)
    LoadConstellation,
    SaveConstellation, // O, Shift + O
    Quit,             // Q
    UpsideDown,       // R
    SortChooser,      // S
    Top,              // T, keypad 7
    Parent,           // U
    SizeFlag,         // V
    StarsPerRowStep,  // W; argument +1 / -1 (Shift)
    SearchFromGalaxy, // X
    CloneView,        // Y
    ZoomStep,         // Z; argument +1 / -1 (Shift)
    PageDown,         // keypad 3
    PageUp,           // keypad 9
    DeeperDisplay,    // "+", keypad +
    ShallowerDisplay, // "-", keypad -
    ShiftRight,       // ","
    ShiftLeft,        // "."
    DriveList,        // the at-sign key: the drive list drops down and keeps the focus
    RescanParent,     // "\" (yen)
    Left,
    Right,
    Up,               // argument: the NebuModifier bits (Shift: galaxy step, Ctrl: scroll speed)
    Down,
    ScrollSpeed,      // "d" (+1, faster down) and "u" (-1) of a key-command text
};

struct NebuKeyAction {
    NebuCommand command = NebuCommand::None;
    int argument = 0;
    // False only for the drive list, which takes the focus itself; every other key gives it
    // back to the grid.
    bool focusGrid = true;
};

// The command of a Qt key code with its modifiers (Shift, Ctrl, keypad; Alt is ignored). O(1).
NebuKeyAction nebuKeyAction(int key, Qt::KeyboardModifiers modifiers);

// The Qt key code a character of a key-command text stands for (letters as their capitals,
// "¥" as "\"). O(1).
int nebuKeyOfChar(QChar c);

// One key of a key-command text: the character and the modifiers set before it.
struct PlayedKey {
    QChar character;
    Qt::KeyboardModifiers modifiers;
};
// Takes the next key off the front of a key-command text, where "s", "c" and "a" before a key
// set Shift, Ctrl and Alt for it (the last character is always a key). None when it is empty. O(1).
std::optional<PlayedKey> takePlayedKey(QString& text);
// The command of a played key: "d" and "u" change the scroll speed, any other character is the
// key of its code as the keyboard gives it (nebuKeyOfChar). O(1).
NebuKeyAction playedKeyAction(const PlayedKey& key);

// The cursor key, with its NebuModifier bits, of a command that only moves the cursor or changes
// the layout (what a tree without a window can play); none for the others. O(1).
struct CursorStroke {
    NebuKey key;
    int modifiers = 0;
};
std::optional<CursorStroke> cursorKeyOf(const NebuKeyAction& action);

// The drive the letter of Ctrl + letter names among the drive box's roots: the drives in their
// list order, A the first. Empty when there is no such drive. O(1).
QString driveOfLetter(const QStringList& driveRoots, int letter);
