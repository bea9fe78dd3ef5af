// The animation's data files: .anim data, BMP frame files and number files, local or over http,
// relative to the program's folder. File access goes through the common platform and fetch.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Where a file named by a program lives: a name with ':' as given, else base + "/" + name
// (no "/" added when the base ends with one or the name begins with one). Cost: linear.
QString animeDataPath(const QString& base, const QString& name);

enum class FrameLoad { Ok, Missing, Unreadable, TooLarge };

// Loads one BMP frame file (fetched when the path is http). Pictures of more than maxPixels
// dots are refused from their header, before any decoding. Cost: the file's size.
FrameLoad loadBmpFrame(const QString& path, int64_t maxPixels, QImage& picture);

// Width and height announced by a BMP header; false when the bytes are no BMP.
bool bmpHeaderSize(const QByteArray& bytes, int64_t& width, int64_t& height);

// Reads an .anim file named by a program's Load line into lines. A local name must end in
// ".anim"; failures are shown with the path as caption and give false. Cost: the file's size.
bool loadAnimData(const QString& base, const QString& name, QStringList& lines);

enum class NumberFile { Read, Missing, Empty };

// Reads up to `count` numbers of a number file (comma fields, lines starting with ':' or '\''
// skipped, a field without a number gives 0) into values, which are resized to count and zero
// filled. Missing: a local file that does not exist (a fault of the block). Empty: no line
// arrived, reported as "「 name 」が見つかりません！". Cost: the file's size.
NumberFile readNumberFile(const QString& base, const QString& name, int count, std::vector<double>& values);
