// Arbitrary bytes as constellation data: the reader must reject or read them without a fault,
// and whatever it reads must lay out, draw and write back.
#include "universe/Constellation.h"
#include "universe/TreeImage.h"
#include "universe/TreeLayout.h"

#include "common/TextCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
    tree.nodeLimit = 4096;
    if (!readConstellationLines(tree, splitLines(decodeText(bytes)), nullptr)) return 0;
    TreeView view;
    view.displayDepth = 64;
    view.starsPerRow = 3;
    view.viewFlags = 15;
    layoutTree(tree, view);
    treeImageLines(tree, view, TreeImageStyle{});
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
        constellationLine(*n);
        tree.treePath(n);
    }
    return 0;
}
