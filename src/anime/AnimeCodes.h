// Numbers of the animation vocabulary: attributes, kinds and settings in the order of their
// keyword tables. A compiled statement holds them as the code characters 0x3000 + table * 0x100
// + number, so these numbers are stable and must never be reordered.
#pragma once

#include <QChar>

namespace AnimeAttr {
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

namespace AnimeKindCode {
enum : int {
    BitMap, DotPtn, Maze, Sudoku, Nikaku, Soukoban, NumLink, Message,
    MetaBall, MetaCube, Molecule, Coulomb, nebu, startrek, metaRing, pitman,
    Count // 16
};
}

namespace AnimeSetting {
enum : int {
    AcmdTime, AnimeTime, BgColor, Camera, Canvas, Color, Frame, FramePtn, Load, Theme,
    TimeFlow, ViewPoint, Wait, WallColor, Window, WinRotation, Wzoom, Data, metaChart, Music,
    Count // 20
};
}

// Code characters of the compiled statement text.
inline constexpr char16_t kAttrCodeBase = 0x3000;
inline constexpr char16_t kKindCodeBase = 0x3100;
inline constexpr char16_t kSettingCodeBase = 0x3200;
inline constexpr char16_t kBlockCodeBase = 0x3300;
inline constexpr char16_t kNameCodeBase = 0x4000;

// Attribute number of a code character, or -1 when the character is no attribute code.
inline int attributeOfCode(QChar c) {
    const int u = c.unicode() - kAttrCodeBase;
    return (u >= 0 && u < AnimeAttr::Count) ? u : -1;
}
