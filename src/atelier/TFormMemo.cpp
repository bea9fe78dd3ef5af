#include "TFormMemo.h"

#include "common/ProgramFont.h"
#include "AtelierWidgets.h"
#include "universe/metaInfo.h"
#include "work/metaChartInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr uint32_t kBandColour = 0xE0D0A0;
constexpr uint32_t kLampUnchanged = 0xFFFF80;
constexpr uint32_t kLampChanged = 0x40FFFF;
constexpr uint32_t kSizeableFrame = 2; // windowId bit: the page keeps its own place
constexpr int kHiddenPreview = 16;
constexpr int kTopLeft = 140;   // right of the two buttons
constexpr int kMidLeft = 44;    // right of the change lamp
constexpr int kRightWidth = 76; // the panel with the right-hand button
constexpr int kTopPixels = 15;
constexpr int kMidPixels = 15;


// A band of the memo: its text stands between `left` and `right` pixels kept free for buttons.
QLabel* band(QWidget* parent, QWidget*& panel, int height, int left, int right, uint32_t textColour, int pixels, bool bold) {
    panel = new QWidget(parent);
    panel->setFixedHeight(height);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colourOf(kBandColour));
    palette.setColor(QPalette::WindowText, colourOf(textColour));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    auto* text = new QLabel(panel);
    text->setFont(programFont(QStringLiteral("Tahoma"), pixels, bold));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(left, 0, right, 0);
    row->addWidget(text);
    return text;
}

// The text in the label's font, made smaller (down to 9 pixels) until it fits `width`.
void fitText(QLabel* label, const QString& text, int width, int pixels) {
    QFont font = label->font();
    font.setPixelSize(pixels);
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(text) > width) font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    label->setText(text);
}

QPushButton* memoButton(QWidget* parent, const QString& caption, QRect place, const QColor& colour) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(place);
    b->setFont(programFont(QStringLiteral("Tahoma"), 12, true));
    b->setAutoDefault(false);
    b->setStyleSheet(QStringLiteral("QPushButton{color:%1;}").arg(colour.name()));
    return b;
}

QString kindName(int kind) {
    static const char16_t* const names[] = {u"", u"http:", u"file:", u"text:", u"html:", u"imag:", u"tbl0:", u"exec:"};
    return kind >= 1 && kind <= 7 ? QString::fromUtf16(names[kind]) : QString();
}

} // namespace

TFormMemo::TFormMemo(const std::optional<QStringList>& lines, QWidget* owner, const QString& basePath)
    : QDialog(owner), owner_(owner), basePath_(basePath) {
    setObjectName(QStringLiteral("TFormMemo"));
    setModal(true);
    setFont(programFont(QStringLiteral("Tahoma"), 13));
    resize(831, 423);
    build();
    Memo->setPlainText(lines ? lines->join(u'\n') : QStringLiteral("設定なし"));
    Memo->document()->setModified(false);
    textChanged();
    connect(Memo, &QPlainTextEdit::textChanged, this, &TFormMemo::textChanged);
    Splitter->setSizes({400, previewHeight_});
    if (owner_) move(owner_->mapToGlobal(owner_->rect().center()) - rect().center());
}

TFormMemo::~TFormMemo() = default;

void TFormMemo::build() {
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);

    PanelTopText = band(this, PanelTop, 30, kTopLeft, kRightWidth, 0x4000, kTopPixels, true);
    PanelTopText->setText(QStringLiteral("Memo"));
    memoButton(PanelTop, QStringLiteral("プレビュー"), {16, 3, 64, 24}, QColor(128, 0, 128));
    memoButton(PanelTop, QStringLiteral("非表示"), {84, 3, 48, 24}, QColor(0, 128, 0));
    PanelRgt = new QWidget(PanelTop);
    auto* end = memoButton(PanelRgt, QStringLiteral("終了"), {0, 3, 64, 24}, QColor(128, 0, 0));
    whole->addWidget(PanelTop);

    PanelBak = new QWidget(this);
    auto* bak = new QVBoxLayout(PanelBak);
    bak->setContentsMargins(0, 0, 0, 0);
    Splitter = new QSplitter(Qt::Vertical, PanelBak);
    Splitter->setHandleWidth(6);
    Splitter->setChildrenCollapsible(false);
    Splitter->setStyleSheet(QStringLiteral("QSplitter::handle{background:%1;}").arg(colourOf(0xF0E0C0).name()));
    Memo = new QPlainTextEdit(Splitter);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setFont(programFont(QStringLiteral("Tahoma"), 16));
    PanelView = new QLabel(QStringLiteral("プレビュー"), Splitter);
    PanelView->setFont(programFont(QStringLiteral("Tahoma"), 11));
    QPalette view = PanelView->palette();
    view.setColor(QPalette::Window, colourOf(0xFFFFD0));
    view.setColor(QPalette::WindowText, colourOf(0x800000));
    PanelView->setPalette(view);
    PanelView->setAutoFillBackground(true);
    PanelView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PanelView->setMinimumHeight(1);
    Splitter->addWidget(Memo);
    Splitter->addWidget(PanelView);
    bak->addWidget(Splitter);
    whole->addWidget(PanelBak, 1);

    PanelMidText = band(this, PanelMid, 28, kMidLeft, kRightWidth, 0x6000, kMidPixels, false);
    PanelChg = new QLabel(PanelMid);
    PanelChg->setGeometry(10, 2, 25, 25);
    PanelChg->setAutoFillBackground(true);
    PanelMidRgt = new QWidget(PanelMid);
    auto* save = memoButton(PanelMidRgt, QStringLiteral("更新終了"), {0, 5, 64, 22}, QColor(128, 128, 0));
    whole->addWidget(PanelMid);

    connect(button(QStringLiteral("プレビュー")), &QPushButton::clicked, this, &TFormMemo::previewClick);
    connect(button(QStringLiteral("非表示")), &QPushButton::clicked, this, &TFormMemo::hidePreviewClick);
    connect(end, &QPushButton::clicked, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, [this] {
        saveRequested_ = true;
        accept();
    });
    connect(Splitter, &QSplitter::splitterMoved, this, &TFormMemo::followSplitter);
}

QPushButton* TFormMemo::button(const QString& caption) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}

void TFormMemo::setTopText(const QString& text) { fitText(PanelTopText, text, width() - kTopLeft - kRightWidth, kTopPixels); }
void TFormMemo::setMiddleText(const QString& text) {
    fitText(PanelMidText, text, width() - kMidLeft - kRightWidth, kMidPixels);
}
bool TFormMemo::isModified() const { return Memo->document()->isModified(); }
QString TFormMemo::text() const { return Memo->toPlainText(); }

void TFormMemo::textChanged() {
    lamp_ = isModified() ? kLampChanged : kLampUnchanged;
    QPalette palette = PanelChg->palette();
    palette.setColor(QPalette::Window, colourOf(lamp_));
    PanelChg->setPalette(palette);
}

void TFormMemo::setPreviewHeight(int height) {
    const int total = Splitter->height() - Splitter->handleWidth();
    Splitter->setSizes({std::max(1, total - height), height});
}

void TFormMemo::previewClick() {
    const metaInfo meta(text());
    preview_.reset();
    preview_ = std::make_unique<QTextEdit>(PanelView);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setReadOnly(true);
    previewWindowId_ = meta.windowId;
    if (meta.errors == 0) {
        preview_->resize(meta.width, meta.height);
        const QString data = meta.text.mid(meta.data + 5);
        // Text, table and html pages are written as the chart view writes them; the other kinds
        // (addresses, files, pictures, programs) are named, not opened, in the preview.
        switch (meta.dataKind) {
        case 3: preview_->setHtml(chartTextPage(data)); break;
        case 4: preview_->setHtml(data); break;
        case 6: preview_->setHtml(chartTablePage(data)); break;
        default:
            preview_->setPlainText(QStringLiteral("%1　%2 × %3　（表示窓識別 %4）\n%5%6")
                                       .arg(kindName(meta.dataKind))
                                       .arg(meta.width)
                                       .arg(meta.height)
                                       .arg(meta.windowId)
                                       .arg(data, basePath_.isEmpty() ? QString() : QStringLiteral("\n基準フォルダー: ") + basePath_));
            break;
        }
    } else {
        preview_->setPlainText(QStringLiteral("メタデータの形式が正しくありません（%1）\n%2").arg(meta.errors).arg(meta.text));
        preview_->resize(320, 120);
    }
    setPreviewHeight(previewHeight_ >= 30 ? previewHeight_ : PanelBak->height() / 2);
    preview_->show();
    centrePreview();
}

QWidget* TFormMemo::preview() const { return preview_.get(); }
QWidget& TFormMemo::previewPanel() { return *PanelView; }
QString TFormMemo::previewText() const { return preview_ ? preview_->toPlainText() : QString(); }

void TFormMemo::hidePreviewClick() {
    if (!preview_) return;
    preview_.reset();
    setPreviewHeight(kHiddenPreview);
}

void TFormMemo::centrePreview() {
    if (!preview_) return;
    if (previewWindowId_ & kSizeableFrame) {
        preview_->move(0, 0);
        return;
    }
    preview_->move((PanelView->width() - preview_->width()) / 2, (PanelView->height() - preview_->height()) / 2);
}

void TFormMemo::followSplitter() {
    const int most = PanelBak->height() - 40;
    if (PanelView->height() > most) setPreviewHeight(std::max(1, most));
    previewHeight_ = PanelView->height();
    centrePreview();
}

void TFormMemo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Memo->setFocus();
}

void TFormMemo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PanelRgt->setGeometry(PanelTop->width() - 72, 0, 72, PanelTop->height());
    PanelMidRgt->setGeometry(PanelMid->width() - 72, 0, 72, PanelMid->height());
    if (isVisible()) followSplitter();
}
