// The sort chooser of the tree window: one item per sort key, the reverse toggle and "キャンセル".
// It floats over the tree area, is made with the tree window and reused; its reverse toggle is
// off each time it opens, and a choice closes it and hands the sort mode on.
#pragma once

#include <QWidget>
#include <functional>

class QPushButton;

class TFormSort : public QWidget {
    Q_OBJECT
public:
    // A hidden chooser over `area` (not owned; the chooser is its child).
    explicit TFormSort(QWidget* area);

    // Shows the chooser centred on its area with the reverse toggle off and takes the focus. O(1).
    void open();
    // The choice of a key (1 to 5 plus 8 while the reverse toggle is on): onChosen, then closed.
    // 0 cancels. O(1) plus the sort.
    void choose(int mode);
    // The reverse toggle. O(1).
    void toggleReverse();
    bool reverse() const { return reverse_; }

    // The item captioned `caption`, for tests and screenshots.
    QPushButton* item(const QString& caption) const;
    QPushButton* reversePanel() const { return PanelReverse; }

    // The mode a key of the chooser stands for: 1 to 5 for I, N, E, S or V, D; 8 for R (the
    // toggle), 0 for C (cancel), -1 for any other key. O(1).
    static int modeOfKey(int key);

    // Told the chosen mode (never for a cancel).
    std::function<void(int mode)> onChosen;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showReverse();

    QPushButton* PanelReverse = nullptr;
    bool reverse_ = false;
};
