#include "HeadlessUniverse.h"

#include "anime/AnimeInfo.h"
#include "script/KestoCodes.h"
#include "universe/NebuKeyTable.h"

HeadlessUniverse::HeadlessUniverse(const QString& path, int mode, const QString& keyCommands, AnimeInfo* owner)
    : model_(path, QString()), layout_(model_.tree()), cursor_(layout_), mode_(mode), owner_(owner) {
    model_.openPath();
    treeInfo& tree = model_.tree();
    tree.topGalaxy = tree.root();
    if (tree.displayDepth > tree.searchDepth) tree.displayDepth = qMax(1, tree.searchDepth);
    cursor_.relayoutToTop();
    QString keys = keyCommands;
    while (const std::optional<PlayedKey> played = takePlayedKey(keys))
        if (const std::optional<CursorStroke> stroke = cursorKeyOf(playedKeyAction(*played)))
            cursor_.key(stroke->key, stroke->modifiers); // "U" on the root would need a rescan: not here
}

int HeadlessUniverse::kindCode() const { return mode_ == 1 ? Kind::startrek : Kind::nebu; }

QString HeadlessUniverse::reportText() const { return layout_.countersText() + QStringLiteral(" | ") + cursor_.path(); }

void HeadlessUniverse::modeGiven(int mode) {
    floatState_ = mode;
    if (mode >= 3 && owner_) owner_->chaseMode = 0;
}
