// The texts that show a node in the tree window and in the tree image text.
#pragma once

#include "fileInfo.h"

#include <QString>

// View flags of the tree window that the node texts use.
enum ViewFlag : int {
    ViewSize = 1,
    ViewTime = 2,
    ViewAttributes = 4,
    ViewClones = 8,
    ViewClonesInverted = 32,
};

// Format options of the tree window.
enum FormatOption : int {
    FormatExtension = 1, // names aligned with their extension set aside
    FormatShortSize = 2, // sizes as "1.50k"
};

// The node's name text: galaxies as "< name >" (with the metadata mark), stars as the name,
// cut to `width` half-width columns when `cut` is set (or the extension format applies).
// Cost: linear in the name, plus code page 932 conversions when the name is cut.
QString nameText(const fileInfo& node, bool galaxyShort, bool cut, int formatOptions, int width, bool compact);

// The detail columns selected by `viewFlags` (size, time, attributes, clone count), each
// followed by its spacing. O(1).
QString detailText(const fileInfo& node, int viewFlags, int formatOptions);
