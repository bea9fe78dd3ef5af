#include "TFormFlog.h"

#include "TFormCheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kMaxDrives = 26;
constexpr int kItemHeight = 23;
constexpr int kChrome = 144;
constexpr int kMaxHeight = 480;
constexpr int kBorder = 7;
} // namespace

TFormFlog::TFormFlog(const QStringList& drives, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), drives_(drives.mid(0, kMaxDrives)) {
    setStyleSheet(QStringLiteral("QDialog { background: #004000; }"
                                 "QLabel { color: #00ffff; }"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    QLabel* first = nullptr;
    for (const char* band : {"全階層検索 ツリーログ", "作成小宇宙"}) {
        auto* label = new QLabel(QString::fromUtf8(band), this);
        label->setFont(TFormCheck::checkFont(false));
        label->setFocusPolicy(Qt::StrongFocus);
        column->addWidget(label);
        first = label;
    }
    list_ = new QListWidget(this);
    list_->setStyleSheet(QStringLiteral("QListWidget { background: white; color: rgb(0,64,0); }"));
    for (const QString& root : drives_) {
        auto* item = new QListWidgetItem(QStringLiteral("    ") + root, list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    column->addWidget(list_, 1);
    column->addWidget(new QLabel(QStringLiteral("数分から数１０分かかります"), this));
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);
    resize(320, std::min(kItemHeight * static_cast<int>(drives_.size()) + kChrome, kMaxHeight));
    if (parent) move(parent->mapToGlobal(parent->rect().center()) - QPoint(width() / 2, height() / 2));
    if (first) first->setFocus();
}

QStringList TFormFlog::ticked() const {
    QStringList chosen;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked) chosen.append(drives_[i]);
    return chosen;
}

void TFormFlog::choose(QStringList& drives, QWidget* parent) {
    TFormFlog form(drives, parent);
    drives = form.exec() == QDialog::Accepted ? form.ticked() : QStringList();
}
