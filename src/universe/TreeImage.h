// The tree image text (".nimg"): the shown part of the tree drawn with box-drawing characters.
// It is an export only; nothing reads it back.
#pragma once

#include "TreeLayout.h"

#include <QStringList>
#include <functional>

struct TreeImageStyle {
    int indent = 24;     // spaces per level after the connector piece
    int nameLength = 24; // star name length in half-width columns
    int formatOptions = 0;
};

// Hands the lines of the image to `sink` one by one, heading first, each made only when its turn
// comes. Cost: O(shown nodes + their names); one backward pass decides every connector and keeps
// a byte per level of each row.
void writeTreeImage(treeInfo& tree, const TreeView& view, const TreeImageStyle& style,
                    const std::function<void(const QString&)>& sink);

// The lines of the image, heading first, from the display chain that layoutTree built.
// Cost: O(shown nodes + their names); one backward pass decides every connector.
QStringList treeImageLines(treeInfo& tree, const TreeView& view, const TreeImageStyle& style);
