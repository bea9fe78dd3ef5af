// Constellation data (".nebu"): one TAB-separated line per node in list order,
// "depth, kind, name, size, stamp[, metadata]", code page 932 with CR LF (UTF-8 with a
// byte-order mark when a name does not survive code page 932).
#pragma once

#include "treeInfo.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class ScanProgress;

// Largest local constellation data file that is read (a million nodes take about 55 MB); a larger
// one would pass any node limit.
constexpr uint64_t kMaxConstellationBytes = uint64_t(1) << 30;

// The line of one node, without its line end. Control characters in the name become U+FFFD and
// TABs in the metadata spaces, so the line structure always holds. O(name length).
QString constellationLine(const fileInfo& node);

// Writes every node from the root to the sentinel to `path` through a temporary file renamed over
// the target. On success clears the metadata-changed flag; on failure reports it, keeps the flag
// and leaves the target as it was. Cost: O(n) time; one megabyte of encoded lines in memory.
bool writeConstellation(treeInfo& tree, const QString& path);

// Reads a local file or an http location into the tree. A file that cannot be read, is larger
// than kMaxConstellationBytes or holds no root record, is reported and leaves the tree unchanged
// (false). Lines outside the format are counted and reported once at the end. A local file is
// read a piece at a time, so memory holds the tree and one piece, never the lines. O(lines).
bool readConstellation(treeInfo& tree, const QString& location, ScanProgress* progress);

// The same on lines already in memory (a fetched file, or bytes given by a test or fuzzer).
bool readConstellationLines(treeInfo& tree, const QStringList& lines, ScanProgress* progress);

// Converts a time stamp field: 14 digits unchanged, 12 digits (no seconds) times 100, larger
// values as milliseconds since 1970 (to local time), anything else unchanged. O(1).
uint64_t convertStamp(uint64_t value);
