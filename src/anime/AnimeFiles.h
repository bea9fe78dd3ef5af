// The animation's picture files: BMP frame files, local or over http, relative to the program's
// folder. File access goes through the common platform and fetch. (The .anim data of a Load line
// and the number files of Data are read by the interpreter when it prepares the program.)
#pragma once

#include "common/Platform.h"

#include <QImage>
#include <QString>
#include <cstdint>

// Where a file named by a program lives: a name with ':' as given, else base + "/" + name
// (no "/" added when the base ends with one or the name begins with one). Cost: linear.
QString animeDataPath(const QString& base, const QString& name);

enum class FrameLoad { Ok, Missing, Unreadable, TooLarge };

// Loads one BMP frame file (fetched when the path is http). Pictures of more than maxPixels
// dots are refused from their header, before any decoding. When the local file itself could
// not be read (denied, not a regular file, too large), *fileFault says why. Cost: the file's size.
FrameLoad loadBmpFrame(const QString& path, int64_t maxPixels, QImage& picture, FileFault* fileFault = nullptr);

// Decodes the bytes of a BMP file the same way (header checked before any decoding). Cost:
// linear in the bytes, at most maxPixels dots decoded.
FrameLoad decodeBmpFrame(QByteArray bytes, int64_t maxPixels, QImage& picture);

// Width and height announced by a BMP header; false when the bytes are no BMP.
bool bmpHeaderSize(const QByteArray& bytes, int64_t& width, int64_t& height);
