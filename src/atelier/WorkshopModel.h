// The headless workshop ("工作室"): the loaded picture and its base path, the memo's lines, and
// the commands of its buttons. Choices go through choosePath, messages through showCheck and
// files through the common file layer (atomic writes: a refused or failed save leaves every file
// as it was). The window TFormAtelie2 only shows the picture and the memo and forwards buttons.
#pragma once

#include "WorkshopImage.h"

#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

class WorkshopModel {
public:
    // `homeFolder` (ending with "/") is where the bitmap chooser starts.
    explicit WorkshopModel(QString homeFolder);

    const QImage& picture() const { return picture_; }
    // The loaded bitmap's path without its extension; empty until a bitmap was loaded.
    const QString& basePath() const { return basePath_; }
    // The memo's lines; the first is "ドットマップデータ" until a command fills it.
    const QStringList& memo() const { return memo_; }
    // Counts the commands that filled the memo, so the window knows when to show it anew.
    int memoFills() const { return memoFills_; }
    // The last tile written ("ImageTemp"); null before the first cut.
    const QImage& lastTile() const { return lastTile_; }

    // "ＢＭＰ読込み": chooser (filter "*.bmp") starting in the home folder; a name that does not end
    // in ".bmp" is refused, a file that does not read as a bitmap is reported. True when a picture
    // was loaded. Cost: the chooser and the file.
    bool chooseBitmap(QWidget* parent = nullptr);
    // Loads `path` as chooseBitmap does after the choice. Cost: the file.
    bool loadBitmap(const QString& path);
    // "反転" and "輪郭化" (WorkshopImage). Without a picture the user is told. Cost: one pass.
    void invert();
    void outline();
    // "データ化": the memo becomes the dot data. Without a picture the user is told.
    void makeDotData();
    // "ドットデータ化": the memo becomes the dot pattern of `columns` × `rows` cells (the division
    // fields' texts). A field that is not a whole number from 1 to 64, a missing picture, cells
    // of no pixel, too wide or with too many colours: told why, the memo unchanged.
    bool makeDotPattern(const QString& columns, const QString& rows);
    // "ＢＭＰ分割保存": the tiles as "<basePath>NN.bmp" (NN from 00, row-major). Faults as for the
    // pattern; when one of the names exists the user is asked once whether to replace them. True
    // when every tile was written; a write failure is reported and stops the cut.
    // Cost: one BMP file per tile.
    bool saveTiles(const QString& columns, const QString& rows);
    // "ＢＭＰ保存": the picture as "<basePath>.bmp", after asking to replace it. True when written.
    bool savePicture();
    // "アイコン保存": chooser (filter "*.ico") with the ".ico" rules (added with a notice, another
    // extension asked about, an existing file asked about), then the ICO file (iconBytes).
    // True when written. Cost: the chooser, the questions and a 4 KiB file.
    bool saveIcon(QWidget* parent = nullptr);

private:
    bool needPicture() const;
    bool refuseCut(CutFault fault) const;
    bool writeBytes(const QString& path, const QByteArray& bytes) const;

    QString homeFolder_;
    QImage picture_;
    QString basePath_;
    QStringList memo_;
    int memoFills_ = 0;
    QImage lastTile_;
};
