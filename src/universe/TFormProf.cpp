#include "TFormProf.h"

#include "ProfileLayout.h"

#include "common/Platform.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kBandHeight = 30;

// A picture read through the platform layer, so that a name that is not UTF-8 still opens.
QImage loadPicture(const QString& path) {
    QByteArray bytes;
    if (!readFileBytes(path, bytes, qint64(256) << 20)) return {};
    return QImage::fromData(bytes);
}

QString sizeLabel(QSize size) { return QStringLiteral("(%1,%2)").arg(size.width()).arg(size.height()); }

} // namespace

TFormProf::TFormProf(QWidget* grid) : QWidget(grid), grid_(grid) {
    setWindowTitle(QStringLiteral("プロファイル"));
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* band = new QWidget(this);
    band->setFixedHeight(kBandHeight);
    band->setStyleSheet(QStringLiteral("background: rgb(160,208,224);"));
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(2, 0, 2, 0);
    btnFloat = new QPushButton(QStringLiteral("宙"), band);
    btnFloat->setToolTip(QStringLiteral("グリッドから宙に飛び出す"));
    LabelSize = new QLabel(band);
    LabelNew = new QLabel(band);
    LabelSize->setMinimumWidth(90);
    LabelNew->setMinimumWidth(90);
    btnRatio = new QPushButton(QStringLiteral("等比"), band);
    btnRatio->setToolTip(QStringLiteral("高さを画像の縦横比に合わせる"));
    UpDownZoom = new QSpinBox(band);
    UpDownZoom->setRange(5, 1000);
    UpDownZoom->setSingleStep(5);
    UpDownZoom->setValue(zoom_);
    percent = new QLabel(QStringLiteral("％"), band);
    btnClose = new QPushButton(QStringLiteral("閉じる"), band);
    for (QWidget* w : std::initializer_list<QWidget*>{btnFloat, LabelSize, LabelNew, btnRatio, UpDownZoom, percent})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(btnClose);
    column->addWidget(band);
    box_ = new QScrollArea(this);
    box_->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: rgb(240,255,255); }"));
    content_ = new QWidget;
    imgProfile = new QLabel(content_);
    imgProfile->setScaledContents(true);
    box_->setWidget(content_);
    column->addWidget(box_, 1);

    connect(btnFloat, &QPushButton::clicked, this, &TFormProf::toggleFloat);
    connect(btnRatio, &QPushButton::clicked, this, &TFormProf::sameRatio);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(UpDownZoom, &QSpinBox::valueChanged, this, &TFormProf::setZoom);
    move(20, 20);
    resize(qMax(200, grid->width() - 40), qMax(120, grid->height() / 2));
}

void TFormProf::viewNode(const QString& path, const fileInfo* node, const QStringList& pictures) {
    for (QLabel* l : thumbLabels_) delete l;
    thumbLabels_.clear();
    thumbs_.clear();
    galaxy_ = node && node->isGalaxy();
    UpDownZoom->setVisible(galaxy_);
    percent->setVisible(galaxy_);
    if (galaxy_) {
        imgProfile->resize(1, 1);
        imgProfile->hide();
        for (const QString& p : pictures) thumbs_.push_back(loadPicture(p));
        resize(qMax(200, grid_->width() - 40), height());
        layout()->activate(); // the scroll box's width decides the rows
        layoutThumbnails();
    } else {
        imgProfile->show();
        const QImage image = fileExists(path) ? loadPicture(path) : QImage();
        if (!image.isNull()) {
            picture_ = image;
            imgProfile->setPixmap(QPixmap::fromImage(picture_));
            if (firstShow_) resize(width(), qMax(120, grid_->height() - 10));
            layout()->activate();
            fitWidth();
            LabelSize->setText(sizeLabel(picture_.size()));
        }
    }
    firstShow_ = false;
}

void TFormProf::setZoom(int zoom) {
    zoom_ = qMax(5, zoom);
    if (UpDownZoom->value() != zoom_) UpDownZoom->setValue(zoom_);
    if (galaxy_) layoutThumbnails();
}

std::vector<QRect> TFormProf::thumbnailRects() const {
    std::vector<QRect> rects;
    for (const QLabel* l : thumbLabels_) rects.push_back(l->geometry());
    return rects;
}

void TFormProf::layoutThumbnails() {
    std::vector<QSize> sizes;
    for (const QImage& t : thumbs_) sizes.push_back(t.size());
    int lowest = -1;
    const std::vector<QRect> places = thumbnailPlaces(sizes, zoom_, box_->viewport()->width(), lowest);
    while (thumbLabels_.size() < thumbs_.size()) {
        auto* label = new QLabel(content_);
        label->setScaledContents(true);
        label->setPixmap(QPixmap::fromImage(thumbs_[thumbLabels_.size()]));
        label->show();
        thumbLabels_.push_back(label);
    }
    for (std::size_t i = 0; i < places.size(); ++i) thumbLabels_[i]->setGeometry(places[i]);
    content_->resize(box_->viewport()->width(), qMax(lowest + 10, 1));
    if (!isWindow()) resize(width(), qMax(120, lowest + 100));
}

void TFormProf::fitWidth() {
    const QSize shown = box_->viewport()->size();
    const int target = fittedWidth(picture_.size(), shown.height(), shown.width());
    resize(width() + target - shown.width(), height());
}

void TFormProf::sameRatio() {
    if (galaxy_ || picture_.isNull()) return;
    const QSize shown = box_->viewport()->size();
    const int target = fittedHeight(picture_.size(), shown.width(), shown.height());
    resize(width(), height() + target - shown.height());
}

QString TFormProf::sizeText() const { return LabelSize->text(); }
QString TFormProf::shownText() const { return LabelNew->text(); }

void TFormProf::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!galaxy_) {
        content_->resize(box_->viewport()->size());
        imgProfile->setGeometry(QRect(QPoint(0, 0), box_->viewport()->size()));
    }
    LabelNew->setText(sizeLabel(galaxy_ ? content_->size() : imgProfile->size()));
    if (galaxy_ && !thumbs_.empty()) layoutThumbnails();
}

void TFormProf::toggleFloat() {
    const QRect global(mapToGlobal(QPoint(0, 0)), size());
    if (!isWindow()) {
        setParent(nullptr, Qt::Window);
        setGeometry(global);
        btnFloat->setText(QStringLiteral("戻る"));
        btnFloat->setToolTip(QStringLiteral("グリッドに戻る"));
    } else {
        setParent(grid_);
        move(20, 20);
        btnFloat->setText(QStringLiteral("宙"));
        btnFloat->setToolTip(QStringLiteral("グリッドから宙に飛び出す"));
    }
    show();
}

void TFormProf::closeEvent(QCloseEvent* event) {
    for (QLabel* l : thumbLabels_) delete l;
    thumbLabels_.clear();
    thumbs_.clear();
    event->accept();
}
