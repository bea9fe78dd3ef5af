// The vocabulary that the script and the animation engine share: the numbers of the attributes,
// kinds and settings in the order of their keyword tables, the token codes a compiled statement
// holds in their place, and the sizes of a character's value arrays. Entry i of table t stands in
// a compiled statement as the character 0x3000 + t * 0x100 + i, so no order here may ever change.
#pragma once

#include <QChar>

// Attribute numbers (table 0); the engine receives them as the low byte of the attribute code.
namespace Attr {
enum : int {
    X, Y, Z, vX, vY, vZ, aX, aY, aZ,
    angleX, angleY, angleZ, angle, rotaX, rotaY, rotaZ, rota,
    zoomX, zoomY, zoomZ, multX, multY, multZ,
    minX, minY, minZ, maxX, maxY, maxZ,
    eX, eY, eZ, ghostX, ghostY, ghostZ, ghost,
    balloonX, balloonY, balloonZ, balloon,
    dir, disp, reverse, mode, text, gotoX, gotoY, gotoZ,
    rX, rY, rZ, rsftX, rsftY, rsftZ,
    Maze, Chaser, Sudoku, Nikaku, Soukoban, NumLink,
    SetVal, LifeTime, Charge, Color, bgColor, Font, Center, max, dim, colorSft, pitman,
    Count // 71
};
}

// Kind numbers (table 1): what a declaration statement makes.
namespace Kind {
enum : int {
    BitMap, DotPtn, Maze, Sudoku, Nikaku, Soukoban, NumLink, Message,
    MetaBall, MetaCube, Molecule, Coulomb, nebu, startrek, metaRing, pitman,
    Count // 16
};
}

// Setting numbers (table 2).
namespace Setting {
enum : int {
    AcmdTime, AnimeTime, BgColor, Camera, Canvas, Color, Frame, FramePtn, Load, Theme,
    TimeFlow, ViewPoint, Wait, WallColor, Window, WinRotation, Wzoom, Data, metaChart, Music,
    Count // 20
};
}

// `getval` reads 17 value slots: `SetVal` fills them with a character's position, velocity,
// acceleration, angles and rotation speeds (five triples), whether it has a goal and its chase mode.
inline constexpr int kValueSlots = 17;
// A character's `dim` array: 32 values, a round size that the bundled works' tables fit.
inline constexpr int kUserValues = 32;

// Token codes of a compiled statement.
namespace code {
constexpr char16_t AttrFirst = 0x3000, KindFirst = 0x3100, SettingFirst = 0x3200, BlockFirst = 0x3300;

constexpr char16_t attr(int attribute) { return char16_t(AttrFirst + attribute); }
constexpr char16_t kind(int kind) { return char16_t(KindFirst + kind); }
constexpr char16_t setting(int setting) { return char16_t(SettingFirst + setting); }

// Block keywords (table 3), functions (table 4) and control words (table 5) are the script's
// own, so only their codes have names.
constexpr char16_t AnimeSet = 0x3300, SetEnd = 0x3301, AcmdRun = 0x3302, AcmdEnd = 0x3303,
                   AnimeAdd = 0x3304, AddEnd = 0x3305, NonStopSet = 0x3306, NonStopEnd = 0x3307;

constexpr char16_t Abs = 0xA0, Sin = 0xA1, Cos = 0xA2, Tan = 0xA3, Sqr = 0xA4, Int = 0xA5, Rand = 0xA6,
                   GetVal = 0xA7, Read = 0xA8;
constexpr char16_t FunctionFirst = Abs, FunctionLast = Read;

constexpr char16_t For = 0x80, To = 0x81, Step = 0x82, Next = 0x83, If = 0x84, Then = 0x85, Else = 0x86,
                   Endif = 0x87;

// Declared character name number i is NameFirst + i; item i (after '#') is HandleFirst + i.
constexpr char16_t NameFirst = 0x4000;
constexpr char16_t HandleFirst = 0x100;
} // namespace code

// The number of an attribute, kind or setting code character, or -1 when the character is none.
inline int attributeOfCode(QChar c) {
    const int u = c.unicode() - code::AttrFirst;
    return (u >= 0 && u < Attr::Count) ? u : -1;
}
inline int kindOfCode(QChar c) {
    const int u = c.unicode() - code::KindFirst;
    return (u >= 0 && u < Kind::Count) ? u : -1;
}
inline int settingOfCode(QChar c) {
    const int u = c.unicode() - code::SettingFirst;
    return (u >= 0 && u < Setting::Count) ? u : -1;
}

// The interpreter's status: why the statement or block being read stopped. A program runs on only
// while it is Well.
namespace RunStatus {
enum : int {
    NoValue = -1,      // a parameter or expression had no value
    Well = 0,
    Fault = 1,         // a fault was caught: the item table overflowed, or a block or frame threw
    ForeignFault = 2,  // something other than a standard exception was thrown inside a block
    ReadRange = 3,     // `read` asked beyond the data values
};
}

// True for the nine function codes.
inline bool isFunctionCode(char16_t c) { return c >= code::FunctionFirst && c <= code::FunctionLast; }
