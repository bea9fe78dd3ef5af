#include "UniverseModel.h"

#include "Constellation.h"
#include "UniverseScan.h"

#include "common/Choosers.h"
#include "common/Fetch.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"

#include <QDateTime>

namespace {

constexpr int kStyleNotice = 0;
constexpr int kStyleQuestion = 1;
constexpr int kStyleNoticeLow = 20;

qsizetype lastSeparator(const QString& path) { return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')); }

} // namespace

QString lastExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > lastSeparator(path) ? path.mid(dot) : QString();
}

UniverseModel::UniverseModel(const QString& path, const QString& workFolder) : tree_(path, workFolder) {}

int UniverseModel::openPath() {
    int result = 1;
    QString& path = tree_.pathBuffer;
    if (equalsCaseless(QStringView(path).right(5), u".nebu")) {
        if (!isRootedPath(path) && !isHttpLocation(path)) {
            const QString& folder = tree_.workFolder;
            path = folder + (folder.endsWith(u'/') || folder.isEmpty() ? QString() : QStringLiteral("/")) + path;
        }
        result = readConstellation(tree_, path, progress_) ? 1 : -1;
        tree_.displayDepth = tree_.searchDepth;
    } else if (isRootedPath(path)) {
        result = scanUniverse(path); // a path with a drive letter is reported as not accessible
    }
    tree_.chartMode = !isRootedPath(tree_.pathBuffer);
    tree_.sumSizes();
    return result;
}

int UniverseModel::scanUniverse(const QString& startPath) {
    UniverseScan scan(tree_, breakPoll_, progress_);
    return scan.scanUniverse(startPath);
}

void UniverseModel::rememberChooserFolder(const QString& chosenPath) {
    const qsizetype sep = lastSeparator(chosenPath);
    tree_.lastChooserFolder = sep + 1 == chosenPath.size() || sep < 0 ? chosenPath : chosenPath.left(sep + 1);
}

bool UniverseModel::loadConstellation(bool afterLoad) {
    QString path = tree_.lastChooserFolder;
    if (!choosePath(QStringLiteral("*.nebu"), QStringLiteral("読込む星座データの[星]を選択してください"), path, nullptr,
                    tree_.pathBuffer))
        return false;
    return loadConstellation(path, afterLoad);
}

bool UniverseModel::saveConstellation() {
    QString path = tree_.lastChooserFolder;
    if (!choosePath(QStringLiteral("*.nebu"), QStringLiteral("星座データを保存する[星]を選択してください"), path, nullptr,
                    tree_.pathBuffer))
        return false;
    return saveConstellation(path);
}

bool UniverseModel::saveTreeImage(const TreeView& view, const TreeImageStyle& style) {
    QString path = tree_.lastChooserFolder;
    if (!choosePath(QStringLiteral("*.nimg"), QStringLiteral("星座イメージテキストの保存"), path, nullptr, tree_.pathBuffer))
        return false;
    return saveTreeImage(path, view, style);
}

bool UniverseModel::logAllDrives() {
    QStringList drives;
    for (const DriveInfo& d : listDrives())
        if (dirExists(d.root)) drives.append(d.root);
    if (!chooseDrives(drives)) return false;
    return logAllDrives(drives);
}

bool UniverseModel::loadConstellation(const QString& chosenPath, bool afterLoad) {
    rememberChooserFolder(chosenPath);
    if (!equalsCaseless(lastExtension(chosenPath), u".nebu")) {
        showCheck(QStringLiteral("「NEBU」星座データではありません！"), chosenPath, kStyleNotice);
        return false;
    }
    if (const FileFault fault = isHttpLocation(chosenPath) ? FileFault::None : readableFault(chosenPath); fault != FileFault::None) {
        showCheck(fileFaultText(fault, QStringLiteral("指定の「NEBU」星座データの[星]が存在しません！")), chosenPath, kStyleNotice);
        return false;
    }
    if (!readConstellation(tree_, chosenPath, progress_)) return false;
    if (afterLoad) tree_.displayDepth = tree_.searchDepth;
    return true;
}

std::optional<QString> UniverseModel::fixExtension(const QString& path, const QString& extension) const {
    const QString current = lastExtension(path);
    if (current.isEmpty()) {
        showCheck(QStringLiteral("拡張子「%1」を付加しました！").arg(extension), path + extension, kStyleNotice);
        return path + extension;
    }
    if (equalsCaseless(current, extension)) return path;
    const int answer =
        showCheck(QStringLiteral("拡張子を「%1」に変更して保存しますか？(Y/N)").arg(extension), path, kStyleQuestion);
    if (answer != 1) return std::nullopt;
    return path.left(path.size() - current.size()) + extension;
}

bool UniverseModel::saveConstellation(const QString& chosenPath) {
    rememberChooserFolder(chosenPath);
    const std::optional<QString> path = fixExtension(chosenPath, QStringLiteral(".nebu"));
    if (!path) return false;
    if (fileExists(*path) && showCheck(QStringLiteral("上書きしますか？(Y/N)"), *path, kStyleQuestion) != 1) return false;
    return writeConstellation(tree_, *path);
}

bool UniverseModel::saveTreeImage(const QString& chosenPath, const TreeView& view, const TreeImageStyle& style) {
    rememberChooserFolder(chosenPath);
    const std::optional<QString> path = fixExtension(chosenPath, QStringLiteral(".nimg"));
    if (!path) return false;
    if (!writeTextLines(*path, treeImageLines(tree_, view, style))) {
        showCheck(QStringLiteral("星座イメージテキストを保存できませんでした！"), *path, kStyleNotice);
        return false;
    }
    return true;
}

QStringList UniverseModel::driveList() {
    QStringList items;
    for (const DriveInfo& d : listDrives()) {
        QString root = d.root;
        if (root.size() > 1 && root.endsWith(u'/')) root.chop(1);
        items.append(u' ' + root);
    }
    items.append(QString());
    return items;
}

int UniverseModel::selectDrive(const QString& driveText) {
    const QString root = driveText.mid(1);
    if (root.isEmpty()) return 0;
    tree_.pathBuffer = root.endsWith(u'/') ? root : root + u'/';
    return openPath();
}

QString UniverseModel::driveLogName(const QString& driveRoot, int deepest, const QString& yymmddhh) const {
    QString label;
    if (hasDriveLetter(driveRoot)) label = driveRoot.left(1);
    else {
        label = driveRoot.mid(1);
        while (label.endsWith(u'/')) label.chop(1);
        label.replace(u'/', u'_');
        if (label.isEmpty()) label = QStringLiteral("root");
    }
    return tree_.lastChooserFolder + label + QString::number(deepest).rightJustified(2, u'0') + yymmddhh +
           QStringLiteral(".nebu");
}

bool UniverseModel::logAllDrives(const QStringList& driveRoots) {
    if (driveRoots.isEmpty()) return false;
    QString result = QStringLiteral("小宇宙 ");
    bool finished = true;
    for (const QString& root : driveRoots) {
        tree_.searchDepth = 999;
        if (scanUniverse(root) != 1) {
            finished = false;
            break;
        }
        tree_.sumSizes();
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyMMddHH"));
        if (!writeConstellation(tree_, driveLogName(root, tree_.searchDepth, stamp))) {
            finished = false;
            break;
        }
        QString label = root;
        if (label.size() > 1 && label.endsWith(u'/')) label.chop(1);
        result += label + QStringLiteral(": ");
    }
    tree_.sumSizes();
    result += finished ? QStringLiteral("の星座ログを作成しました。") : QStringLiteral("の星座ログ作成を中断しました。");
    showCheck(result, QStringLiteral("全小宇宙・全階層の星座作成"), kStyleNoticeLow);
    return finished;
}
