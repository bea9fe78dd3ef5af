// The rename window of the tree window: a borderless 420 × 72 box inside the tree grid, placed
// at the last mouse-press point, with the text field `EditName` and the buttons "中止" and "実行".
// It renames a file or folder (mode 0), creates a galaxy (1), renames a chart node (2) or changes
// a chart node's depth (3); what the text does is the owner's (the execute callback).
#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;

enum class RenMode { RenameStar = 0, MakeGalaxy = 1, RenameChartNode = 2, ChartDepth = 3 };

class TFormRen : public QWidget {
    Q_OBJECT
public:
    // Executes the text; true when the window may close (done), false to keep it open.
    using Execute = std::function<bool(RenMode mode, const QString& text)>;

    // A child of `grid` (which frees it with itself), placed with its left at the press point's x
    // and its top 16 pixels below its y, kept inside the grid. Shown at once, focus in the field.
    TFormRen(QWidget* grid, RenMode mode, const QString& text, QPoint pressPoint, Execute execute);

    RenMode mode() const { return mode_; }
    QLineEdit* field() const { return EditName; }
    // "実行" or Enter: runs the callback, closes on success. O(callback).
    void execute();

    // Called once the window has closed (by "中止", a click on its background or success).
    std::function<void()> onClosed;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    RenMode mode_;
    Execute execute_;
    QLineEdit* EditName = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnRun = nullptr;
};
