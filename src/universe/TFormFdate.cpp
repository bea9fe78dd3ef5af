#include "TFormFdate.h"

#include "DateRange.h"

#include "common/Texts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormFdate::TFormFdate(uint64_t from, uint64_t to, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ファイル日時表示範囲の設定"));
    auto* column = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    editFrom = new QLineEdit(dateText(from), this);
    editTo = new QLineEdit(dateText(to), this);
    fields->addRow(QStringLiteral("開始日時"), editFrom);
    fields->addRow(QStringLiteral("終了日時"), editTo);
    column->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    btnOk = new QPushButton(QStringLiteral("確定"), this);
    btnCancel = new QPushButton(QStringLiteral("中止"), this);
    for (QPushButton* b : {btnOk, btnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(editFrom, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(editTo, &QLineEdit::returnPressed, this, &QDialog::accept);
    btnCancel->setFocus();
}

uint64_t TFormFdate::fromStamp() const { return rangeStamp(editFrom->text(), false); }
uint64_t TFormFdate::toStamp() const { return rangeStamp(editTo->text(), true); }

bool TFormFdate::edit(uint64_t& from, uint64_t& to, QWidget* parent) {
    TFormFdate form(from, to, parent);
    if (form.exec() != QDialog::Accepted) return false;
    from = form.fromStamp();
    to = form.toStamp();
    return true;
}
