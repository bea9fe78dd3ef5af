#include "NebuMeta.h"

#include "MetaPages.h"

#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <ctime>

bool NebuMeta::openAtMark(fileInfo* node, QPoint at) {
    if (!hasValidMeta(node) || !inMarkBand(at.x(), node->drawRight)) return false;
    effects_.openPage(node, QPoint(node->drawRight, at.y()));
    return true;
}

bool NebuMeta::mouseMoved(fileInfo* node, QPoint at) {
    if (!tour_.hoverReady() || !openAtMark(node, at)) return false;
    tour_.hoverOpened();
    return true;
}

bool NebuMeta::pressed(fileInfo* node, QPoint at) { return openAtMark(node, at); }

void NebuMeta::currentChanged() {
    const fileInfo* current = cursor_().current();
    if (current && !current->meta && effects_.pageOpen()) effects_.closePage();
}

void NebuMeta::beginTour() {
    treeInfo& tree = cursor_().layout().tree();
    if (atLast() && tree.topGalaxy) cursor_().setCurrent(tree.topGalaxy);
    effects_.changed();
}

bool NebuMeta::atLast() const {
    const fileInfo* current = cursor_().current();
    return !current || current->nextShown == cursor_().layout().tree().bottom() || !current->nextShown;
}

void NebuMeta::moveOn(bool next) {
    fileInfo* node = cursor_().current();
    cursor_().setCurrent(next ? node->nextShown : node);
    effects_.changed();
}

const metaInfo* NebuMeta::currentMeta() const {
    const fileInfo* current = cursor_().current();
    return current ? current->meta.get() : nullptr;
}

QString NebuMeta::currentName() const {
    const fileInfo* current = cursor_().current();
    return current ? current->name() : QString();
}

void NebuMeta::openCurrentPage() {
    fileInfo* node = cursor_().current();
    effects_.openPage(node, effects_.tourPoint(node));
}

void NebuMeta::tourEnded(bool reachedLast) {
    effects_.changed();
    if (reachedLast) effects_.tourReachedEnd();
}

bool editNodeMetadata(treeInfo& tree, const QString& currentPath, const MetaEditor& editor) {
    fileInfo* node = tree.current;
    if (!node) return false;
    const QString name = node->name();
    MetaEditRequest request;
    if (node->meta) {
        request.text = node->meta->text;
    } else if (showCheck(QStringLiteral("メタデータを新規作成しますか？(Y/N)"), QStringLiteral("[星]のメタデータ作成"), 1) != 1) {
        return false;
    }
    request.caption = QStringLiteral("%1のメタデータ").arg(name);
    request.topText = QStringLiteral("メタ形式〔 窓横サイズ , 窓縦サイズ , 表示窓識別 , データ識別4文字: データ文字列 〕");
    request.middleText =
        QStringLiteral("データ識別〔 text:　html:　file: http:　imag:　exec: tbl0:列数 , 行数 , 行文字色 , セルデータ... 〕");
    request.basePath = currentPath;
    const MetaEditResult result = editor(request);
    if (!result.saveRequested &&
        !(result.modified &&
          showCheck(QStringLiteral("メタデータを更新しますか？(Y/N)"), QStringLiteral("[星]のメタデータ更新"), 1) == 1))
        return false;
    QString text = result.text;
    text.replace(u'\t', u' ');
    node->meta = std::make_unique<metaInfo>(text);
    node->stamp = fileTimeNumber(std::time(nullptr));
    node->size = uint64_t(node->meta->text.size());
    tree.metaChanged = true;
    return true;
}
