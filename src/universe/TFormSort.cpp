#include "TFormSort.h"

#include "TreeSort.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QRgb kReverseOn = qRgb(255, 192, 128);
constexpr QRgb kReverseOff = qRgb(192, 176, 176);

struct Item {
    const char16_t* caption;
    int mode;
};
constexpr Item kItems[] = {
    {u"検索時順(&I)", TreeSortSerial}, {u"ファイル名(&N)", TreeSortName}, {u"種類[拡張子](&E)", TreeSortExtension},
    {u"サイズ(&S)", TreeSortSize},     {u"日時(&D)", TreeSortStamp},
};

} // namespace

TFormSort::TFormSort(QWidget* area) : QWidget(area) {
    setObjectName(QStringLiteral("TFormSort"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_StyledBackground, true);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("TFormSort { background: rgb(224,224,240); border: 2px solid rgb(0,64,128); }"
                                 "QPushButton { text-align: left; padding: 3px 10px; }"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(4);
    auto* title = new QLabel(QStringLiteral("並べ替え"), this);
    title->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(0,0,128);"));
    column->addWidget(title);
    for (const Item& item : kItems) {
        auto* b = new QPushButton(QString::fromUtf16(item.caption), this);
        b->setFocusPolicy(Qt::NoFocus);
        const int mode = item.mode;
        connect(b, &QPushButton::clicked, this, [this, mode] { choose(mode); });
        column->addWidget(b);
    }
    // A panel that keeps its colour while on; a button only for the click and the mnemonic.
    PanelReverse = new QPushButton(QStringLiteral("逆順(&R)"), this);
    PanelReverse->setFocusPolicy(Qt::NoFocus);
    PanelReverse->setMinimumHeight(26);
    PanelReverse->setToolTip(QStringLiteral("　逆順の並べ替えの切り替え　"));
    connect(PanelReverse, &QPushButton::clicked, this, &TFormSort::toggleReverse);
    column->addWidget(PanelReverse);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    cancel->setFocusPolicy(Qt::NoFocus);
    connect(cancel, &QPushButton::clicked, this, [this] { choose(0); });
    column->addWidget(cancel);
    showReverse();
    adjustSize();
    hide();
}

void TFormSort::open() {
    reverse_ = false;
    showReverse();
    adjustSize();
    if (parentWidget())
        move(qMax(0, (parentWidget()->width() - width()) / 2), qMax(0, (parentWidget()->height() - height()) / 3));
    show();
    raise();
    setFocus();
}

void TFormSort::choose(int mode) {
    hide();
    if (mode > 0 && onChosen) onChosen(mode + (reverse_ ? TreeSortReverse : 0));
}

void TFormSort::toggleReverse() {
    reverse_ = !reverse_;
    showReverse();
}

void TFormSort::showReverse() {
    const QColor colour(reverse_ ? kReverseOn : kReverseOff);
    PanelReverse->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: black; border: 1px solid gray; text-align: center; }").arg(colour.name()));
}

QPushButton* TFormSort::item(const QString& caption) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}

int TFormSort::modeOfKey(int key) {
    switch (key) {
    case Qt::Key_I: return TreeSortSerial;
    case Qt::Key_N: return TreeSortName;
    case Qt::Key_E: return TreeSortExtension;
    case Qt::Key_S:
    case Qt::Key_V: return TreeSortSize;
    case Qt::Key_D: return TreeSortStamp;
    case Qt::Key_R: return TreeSortReverse;
    case Qt::Key_C:
    case Qt::Key_Escape: return 0;
    default: return -1;
    }
}

void TFormSort::keyPressEvent(QKeyEvent* event) {
    const int mode = modeOfKey(event->key());
    if (mode == TreeSortReverse) toggleReverse();
    else if (mode >= 0) choose(mode);
    else QWidget::keyPressEvent(event);
}
