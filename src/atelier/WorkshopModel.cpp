#include "WorkshopModel.h"

#include "ProgramSaver.h"
#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QBuffer>
#include <QImageReader>

namespace {

const QString kCaption = QStringLiteral("工作室");

QStringList firstMemo() { return {QStringLiteral("ドットマップデータ")}; }

} // namespace

WorkshopModel::WorkshopModel(QString homeFolder) : homeFolder_(std::move(homeFolder)), memo_(firstMemo()) {}

bool WorkshopModel::chooseBitmap(QWidget* parent) {
    QString path;
    if (!choosePath(QStringLiteral("*.bmp"), QStringLiteral("ビットファイルを選択してください"), path, parent, homeFolder_))
        return false;
    if (!path.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) {
        showCheck(QStringLiteral("ビットマップファイルではありません！"), path, 0);
        return false;
    }
    return loadBitmap(path);
}

bool WorkshopModel::loadBitmap(const QString& path) {
    QByteArray bytes;
    FileFault fault = FileFault::None;
    QImage image;
    if (readFileBytes(path, bytes, kMaxReadBytes, &fault)) {
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "BMP");
        image = reader.read();
    }
    if (image.isNull()) {
        const QString why = fault == FileFault::None ? QStringLiteral("ビットマップとして読めない内容です。") : fileFaultText(fault);
        showCheck(QStringLiteral("ビットマップを読み込めませんでした！\n") + why, path, 0);
        return false;
    }
    picture_ = workshopPicture(image);
    const qsizetype dot = path.lastIndexOf(u'.');
    basePath_ = dot > path.lastIndexOf(u'/') ? path.left(dot) : path;
    return true;
}

bool WorkshopModel::needPicture() const {
    if (!picture_.isNull()) return true;
    showCheck(QStringLiteral("ビットマップが読み込まれていません！\n先に「ＢＭＰ読込み」でビットマップを読み込んでください。"), kCaption, 0);
    return false;
}

void WorkshopModel::invert() {
    if (needPicture()) picture_ = invertBlack(picture_);
}

void WorkshopModel::outline() {
    if (needPicture()) picture_ = outlineBlack(picture_);
}

void WorkshopModel::makeDotData() {
    if (!needPicture()) return;
    memo_ = dotData(picture_);
    ++memoFills_;
}

bool WorkshopModel::refuseCut(CutFault fault) const {
    switch (fault) {
    case CutFault::None: return false;
    case CutFault::NoPicture: return !needPicture();
    case CutFault::BadCount:
        showCheck(QStringLiteral("分割数は 1 から %1 までの整数で指定してください！\n横と縦の欄を確かめてください。").arg(kMostDivisions),
                  kCaption, 0);
        break;
    case CutFault::EmptyCell:
        showCheck(QStringLiteral("分割した大きさが 0 ピクセルになります！\n%1 × %2 の絵には分割数が多すぎます。")
                      .arg(picture_.width())
                      .arg(picture_.height()),
                  kCaption, 0);
        break;
    case CutFault::TooWide:
        showCheck(QStringLiteral("区画の幅が %1 ピクセルを超えています！\n横の分割数を増やしてください。").arg(kWidestPatternRow),
                  kCaption, 0);
        break;
    case CutFault::TooManyColours:
        showCheck(QStringLiteral("色の数が %1 を超えています！\n色数の少ない絵を使ってください。").arg(kMostPatternColours),
                  kCaption, 0);
        break;
    }
    return true;
}

bool WorkshopModel::makeDotPattern(const QString& columns, const QString& rows) {
    DotPattern pattern;
    if (refuseCut(dotPattern(picture_, divisionCount(columns), divisionCount(rows), pattern))) return false;
    memo_ = pattern.lines;
    ++memoFills_;
    return true;
}

bool WorkshopModel::writeBytes(const QString& path, const QByteArray& bytes) const {
    if (!bytes.isEmpty() && writeFileAtomic(path, bytes)) return true;
    showCheck(QStringLiteral("ファイルに書き込めませんでした！\n保存先のフォルダーと書き込みの権限を確かめてください。"), path, 0);
    return false;
}

bool WorkshopModel::saveTiles(const QString& columns, const QString& rows) {
    std::vector<QImage> tiles;
    if (refuseCut(cutTiles(picture_, divisionCount(columns), divisionCount(rows), tiles))) return false;
    for (int n = 0; n < int(tiles.size()); ++n) {
        const QString name = tileName(basePath_, n);
        if (!fileExists(name)) continue;
        // One question for the whole cut: the tiles of an earlier cut are replaced together.
        if (showCheck(QStringLiteral("同じ名前の分割ファイルがあります。上書きしますか？(Y/N)"), name, 1) != 1) return false;
        break;
    }
    for (int n = 0; n < int(tiles.size()); ++n) {
        lastTile_ = tiles[size_t(n)];
        if (!writeBytes(tileName(basePath_, n), bmpBytes(lastTile_))) return false;
    }
    return true;
}

bool WorkshopModel::savePicture() {
    if (!needPicture()) return false;
    const QString path = basePath_ + QStringLiteral(".bmp");
    if (fileExists(path) && showCheck(QStringLiteral("上書きしますか？(Y/N)"), path, 1) != 1) return false;
    return writeBytes(path, bmpBytes(picture_));
}

bool WorkshopModel::saveIcon(QWidget* parent) {
    if (!needPicture()) return false;
    QString path;
    if (!choosePath(QStringLiteral("*.ico"), QStringLiteral("アイコンを保存するファイルを選択してください"), path, parent,
                    homeFolder_))
        return false;
    QString target = path;
    switch (setExtension(target, QStringLiteral(".ico"))) {
    case 1: showCheck(QStringLiteral("拡張子「.ico」を付加しました！"), target, 0); break;
    case 2:
        if (showCheck(QStringLiteral("拡張子を「.ico」に変更して保存しますか？(Y/N)"), path, 1) != 1) return false;
        break;
    default: break;
    }
    if (fileExists(target) && showCheck(QStringLiteral("上書きしますか？(Y/N)"), target, 1) != 1) return false;
    return writeBytes(target, iconBytes(picture_));
}
