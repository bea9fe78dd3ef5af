#include "TFormAtelie2.h"

#include "common/ProgramFont.h"
#include "AtelierWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr uint32_t kTopColour = 0x4000;
constexpr int kTopHeight = 33;
constexpr int kRightWidth = 185;
constexpr int kMemoHeight = 250;


} // namespace

TFormAtelie2::TFormAtelie2(const QString& homeFolder, QWidget* parent) : QDialog(parent), model_(homeFolder) {
    setObjectName(QStringLiteral("TFormAtelie2"));
    setWindowTitle(QStringLiteral("アトリエⅡ　工作室"));
    setModal(true);
    resize(1000, 700);
    build();
    refresh();
}

TFormAtelie2::~TFormAtelie2() = default;

QPushButton* TFormAtelie2::addButton(const QString& caption, int width, void (TFormAtelie2::*action)()) {
    auto* b = new QPushButton(caption, PanelTop);
    b->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 13, true));
    b->setFixedSize(width, 25);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, action);
    PanelTop->layout()->addWidget(b);
    return b;
}

void TFormAtelie2::build() {
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);

    PanelTop = new QWidget(this);
    PanelTop->setFixedHeight(kTopHeight);
    fillBackground(PanelTop, kTopColour);
    auto* bar = new QHBoxLayout(PanelTop);
    bar->setContentsMargins(6, 4, 6, 4);
    bar->setSpacing(4);
    addButton(QStringLiteral("ＢＭＰ読込み"), 96, &TFormAtelie2::loadClick);
    addButton(QStringLiteral("反転"), 48, &TFormAtelie2::invertClick);
    addButton(QStringLiteral("輪郭化"), 60, &TFormAtelie2::outlineClick);
    addButton(QStringLiteral("データ化"), 68, &TFormAtelie2::dataClick);
    addButton(QStringLiteral("全選択"), 60, &TFormAtelie2::selectAllClick);
    addButton(QStringLiteral("コピー"), 60, &TFormAtelie2::copyClick);
    addButton(QStringLiteral("アイコン保存"), 96, &TFormAtelie2::iconClick)
        ->setToolTip(QStringLiteral(" 絵の左上 32 × 32 ピクセルをアイコン（.ico）に保存します "));
    addButton(QStringLiteral("ＢＭＰ保存"), 84, &TFormAtelie2::savePictureClick)
        ->setToolTip(QStringLiteral(" 絵を読み込んだファイル名（.bmp）で保存します "));
    const auto field = [this](const QString& text) {
        auto* edit = new QLineEdit(text, PanelTop);
        edit->setFixedSize(32, 25);
        edit->setAlignment(Qt::AlignCenter);
        edit->setToolTip(QStringLiteral(" 分割数（1～64） "));
        PanelTop->layout()->addWidget(edit);
        return edit;
    };
    EditHdiv = field(QStringLiteral("4"));
    EditHdiv->setObjectName(QStringLiteral("EditHdiv"));
    auto* times = new QLabel(QStringLiteral("×"), PanelTop);
    QPalette light = times->palette();
    light.setColor(QPalette::WindowText, Qt::white);
    times->setPalette(light);
    bar->addWidget(times);
    EditVdiv = field(QStringLiteral("2"));
    EditVdiv->setObjectName(QStringLiteral("EditVdiv"));
    addButton(QStringLiteral("ドットデータ化"), 108, &TFormAtelie2::patternClick);
    addButton(QStringLiteral("ＢＭＰ分割保存"), 108, &TFormAtelie2::tilesClick);
    bar->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("閉じる"), PanelTop);
    close->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 13, true));
    close->setFixedSize(64, 25);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bar->addWidget(close);
    whole->addWidget(PanelTop);

    splitterMemo = new QSplitter(Qt::Vertical, this);
    splitterRight = new QSplitter(Qt::Horizontal, splitterMemo);
    scrollBitMap = new QScrollArea(splitterRight);
    scrollBitMap->setAlignment(Qt::AlignCenter);
    fillBackground(scrollBitMap->viewport(), 0x606060);
    ImageBitMap = new QLabel;
    ImageBitMap->setObjectName(QStringLiteral("ImageBitMap"));
    scrollBitMap->setWidget(ImageBitMap);
    PanelRifht = new QWidget(splitterRight);
    fillBackground(PanelRifht, 0x404040);
    ImageTemp = new QLabel(PanelRifht);
    ImageTemp->setObjectName(QStringLiteral("ImageTemp"));
    ImageTemp->setAlignment(Qt::AlignCenter);
    auto* right = new QVBoxLayout(PanelRifht);
    right->addWidget(ImageTemp);
    splitterRight->setStretchFactor(0, 1);
    splitterRight->setSizes({width() - kRightWidth, kRightWidth});

    MemoBitData = new QPlainTextEdit(splitterMemo);
    MemoBitData->setObjectName(QStringLiteral("MemoBitData"));
    MemoBitData->setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 13));
    MemoBitData->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoBitData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoBitData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    splitterMemo->setStretchFactor(0, 1);
    splitterMemo->setSizes({height() - kTopHeight - kMemoHeight, kMemoHeight});
    whole->addWidget(splitterMemo, 1);
}

QPushButton* TFormAtelie2::button(const QString& caption) const {
    for (QPushButton* b : PanelTop->findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}

void TFormAtelie2::refresh() {
    const QImage& picture = model_.picture();
    ImageBitMap->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
    ImageBitMap->resize(picture.isNull() ? QSize(0, 0) : picture.size());
    const QImage& tile = model_.lastTile();
    ImageTemp->setPixmap(tile.isNull() ? QPixmap() : QPixmap::fromImage(tile));
    if (model_.memoFills() != shownFills_) {
        shownFills_ = model_.memoFills();
        MemoBitData->setPlainText(model_.memo().join(u'\n'));
    }
}

QImage TFormAtelie2::shownPicture() const { return ImageBitMap->pixmap().toImage(); }
QImage TFormAtelie2::shownTile() const { return ImageTemp->pixmap().toImage(); }

void TFormAtelie2::loadClick() {
    model_.chooseBitmap(this);
    refresh();
}

void TFormAtelie2::invertClick() {
    model_.invert();
    refresh();
}

void TFormAtelie2::outlineClick() {
    model_.outline();
    refresh();
}

void TFormAtelie2::dataClick() {
    model_.makeDotData();
    refresh();
}

void TFormAtelie2::selectAllClick() {
    MemoBitData->setFocus();
    MemoBitData->selectAll();
}

void TFormAtelie2::copyClick() { MemoBitData->copy(); }

void TFormAtelie2::iconClick() { model_.saveIcon(this); }

void TFormAtelie2::savePictureClick() { model_.savePicture(); }

void TFormAtelie2::patternClick() {
    model_.makeDotPattern(EditHdiv->text(), EditVdiv->text());
    refresh();
}

void TFormAtelie2::tilesClick() {
    model_.saveTiles(EditHdiv->text(), EditVdiv->text());
    refresh();
}
