// The date range window ("ファイル日時表示範囲の設定"): the start and end of the tree window's
// star time filter as "開始日時" and "終了日時", changed on "確定" or Enter, kept on "中止".
#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;

class TFormFdate : public QDialog {
    Q_OBJECT
public:
    // The fields show the stamps (dateText); the focus starts on "中止".
    TFormFdate(uint64_t from, uint64_t to, QWidget* parent);

    // Shows the window modally; true when "確定" (or Enter) changed the stamps.
    static bool edit(uint64_t& from, uint64_t& to, QWidget* parent);

    // The stamps of the fields as they stand (rangeStamp: a start from its lowest, an end to its
    // highest moment). O(length).
    uint64_t fromStamp() const;
    uint64_t toStamp() const;
    QLineEdit* fromField() const { return editFrom; }
    QLineEdit* toField() const { return editTo; }
    QPushButton* confirmButton() const { return btnOk; }
    QPushButton* cancelButton() const { return btnCancel; }

private:
    QLineEdit* editFrom = nullptr;
    QLineEdit* editTo = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
