// The bilingual vocabulary of Kesto Basic: six keyword tables and the token codes that a compiled
// statement uses in their place. The tables' order and the entries' order are part of the codes.
#pragma once

#include <QString>
#include <QStringView>

#include <span>

// One keyword. `japanese` is empty for functions and control words. The Atelier fills
// `explanation` and `explanationLines` from its command reference once it opens.
struct KeywordEntry {
    KeywordEntry(QStringView standardName, QStringView japaneseName, int lines = 1)
        : standard(standardName), japanese(japaneseName), explanationLines(lines) {}

    QStringView standard;
    QStringView japanese;
    QString explanation;
    int explanationLines = 1;
};

// Table numbers; the number is part of the token code.
enum KeywordTableId : int {
    TableAttributes = 0,
    TableKinds = 1,
    TableSettings = 2,
    TableBlocks = 3,
    TableFunctions = 4,
    TableControls = 5,
    KeywordTableCount = 6,
};

// The entries of table `table` (0 to 5), in their fixed order. Mutable only so that the Atelier can
// fill the two explanation columns; the names never change. Cost: constant.
std::span<KeywordEntry> keywordTable(int table);

// Token code of entry `index` of `table`: 0x3000 + table * 0x100 + index for tables 0 to 3,
// 0xA0 + index for functions, 0x80 + index for control words. Cost: constant.
char16_t keywordCode(int table, int index);

// The entry a token code stands for, or nullptr for a code of no table. Cost: constant.
const KeywordEntry* keywordOfCode(char16_t code);

// Attribute numbers (table 0); the engine receives them as the low byte of the attribute code.
enum AttributeIndex : int {
    AttrX, AttrY, AttrZ, AttrVX, AttrVY, AttrVZ, AttrAX, AttrAY, AttrAZ,
    AttrAngleX, AttrAngleY, AttrAngleZ, AttrAngle, AttrRotaX, AttrRotaY, AttrRotaZ, AttrRota,
    AttrZoomX, AttrZoomY, AttrZoomZ, AttrMultX, AttrMultY, AttrMultZ,
    AttrMinX, AttrMinY, AttrMinZ, AttrMaxX, AttrMaxY, AttrMaxZ, AttrEX, AttrEY, AttrEZ,
    AttrGhostX, AttrGhostY, AttrGhostZ, AttrGhost, AttrBalloonX, AttrBalloonY, AttrBalloonZ, AttrBalloon,
    AttrDir, AttrDisp, AttrReverse, AttrMode, AttrText, AttrGotoX, AttrGotoY, AttrGotoZ,
    AttrRX, AttrRY, AttrRZ, AttrRsftX, AttrRsftY, AttrRsftZ,
    AttrMaze, AttrChaser, AttrSudoku, AttrNikaku, AttrSoukoban, AttrNumLink, AttrSetVal, AttrLifeTime,
    AttrCharge, AttrColor, AttrBgColor, AttrFont, AttrCenter, AttrMax, AttrDim, AttrColorSft, AttrPitman,
    AttributeCount
};

// Token codes that the compiler, the evaluator and the executors look for.
namespace code {
constexpr char16_t Attribute = 0x3000;
constexpr char16_t Dim = 0x3044;

constexpr char16_t BitMap = 0x3100, DotPtn = 0x3101, Maze = 0x3102, Sudoku = 0x3103, Nikaku = 0x3104,
                   Soukoban = 0x3105, NumLink = 0x3106, Message = 0x3107, MetaBall = 0x3108,
                   MetaCube = 0x3109, Molecule = 0x310A, Coulomb = 0x310B, Nebu = 0x310C,
                   Startrek = 0x310D, MetaRing = 0x310E, Pitman = 0x310F;

constexpr char16_t AcmdTime = 0x3200, AnimeTime = 0x3201, BgColor = 0x3202, Camera = 0x3203,
                   Canvas = 0x3204, Color = 0x3205, Frame = 0x3206, FramePtn = 0x3207, Load = 0x3208,
                   Theme = 0x3209, TimeFlow = 0x320A, ViewPoint = 0x320B, Wait = 0x320C,
                   WallColor = 0x320D, Window = 0x320E, WinRotation = 0x320F, Wzoom = 0x3210,
                   Data = 0x3211, MetaChart = 0x3212, Music = 0x3213;

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

// True for the nine function codes.
inline bool isFunctionCode(char16_t c) { return c >= code::FunctionFirst && c <= code::FunctionLast; }
