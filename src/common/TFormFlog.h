// The drive log window: the drives to scan whole for the all-drives log, one ticked item each,
// between the bands "全階層検索 ツリーログ" / "作成小宇宙" and "数分から数１０分かかります".
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

class TFormFlog : public QDialog {
    Q_OBJECT
public:
    // One ticked item per drive (at most 26); 23 pixels per item + 144, at most 480 high; no
    // frame, a 7-pixel border, centred on `parent`; the focus starts on the band "作成小宇宙".
    TFormFlog(const QStringList& drives, QWidget* parent);

    // Shows the window modally; `drives` then holds the ticked ones in list order, or nothing
    // when cancelled.
    static void choose(QStringList& drives, QWidget* parent);

    // The ticked drives in list order. O(items).
    QStringList ticked() const;
    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QStringList drives_;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
