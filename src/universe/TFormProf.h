// The profile viewer ("プロファイル"): inside the tree grid, the picture of the current image
// star, or thumbnails of the picture stars of the current galaxy at a zoom in percent. Its top
// band holds "宙" (out of the grid as a window of its own, then "戻る"), the size labels,
// "等比", the zoom with its up-down and "閉じる".
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
struct fileInfo;

class TFormProf : public QWidget {
    Q_OBJECT
public:
    // A child of the tree grid `grid` (which frees it with itself); zoom 10, no thumbnails.
    explicit TFormProf(QWidget* grid);

    // Shows the pictures: a galaxy's picture stars (`pictures`, their paths) as thumbnails, or
    // a star's own picture fitted to its proportion. Cost: loading every picture once.
    void viewNode(const QString& path, const fileInfo* node, const QStringList& pictures);

    int zoom() const { return zoom_; }
    // The up-down: never below 5; a galaxy's thumbnails are laid out again. O(pictures).
    void setZoom(int zoom);
    // The thumbnails as they are placed (viewer coordinates of the scroll box's content).
    std::vector<QRect> thumbnailRects() const;
    QSize pictureSize() const { return picture_.size(); }
    QString sizeText() const;
    QString shownText() const;
    bool floating() const { return isWindow(); }
    // "宙" / "戻る". O(1).
    void toggleFloat();
    // "等比": the height follows the shown width in the picture's proportion. O(1).
    void sameRatio();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void layoutThumbnails();
    void fitWidth();

    QWidget* grid_;
    int zoom_ = 10;
    bool galaxy_ = false;
    bool firstShow_ = true;
    QImage picture_;
    std::vector<QImage> thumbs_;
    std::vector<QLabel*> thumbLabels_;
    QPushButton* btnFloat = nullptr;
    QLabel* LabelSize = nullptr;
    QLabel* LabelNew = nullptr;
    QPushButton* btnRatio = nullptr;
    QSpinBox* UpDownZoom = nullptr;
    QLabel* percent = nullptr;
    QPushButton* btnClose = nullptr;
    QScrollArea* box_ = nullptr;
    QWidget* content_ = nullptr;
    QLabel* imgProfile = nullptr;
};
