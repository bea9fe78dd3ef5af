// The program's own file and folder chooser window (behind choosePath in the desktop program):
// the message band, the grid `sgPath` of the big universe, the path rows and the folder's
// entries, the right column of scroll buttons when the list is long, the path field and the
// buttons "Home", "OK" and "キャンセル". The rows and what a press does are PathChooser's.
#pragma once

#include "PathChooser.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class PathGrid;

class TFormPath : public QDialog {
    Q_OBJECT
public:
    // `filter` empty chooses a folder; `path` is shown first; `parent` (may be null) bounds the
    // height (its height less a tenth) and centres the window; `home` is where "Home" goes.
    TFormPath(const QString& filter, const QString& message, const QString& path, QWidget* parent, const QString& home,
              std::vector<DriveInfo> drives = listDrives());
    ~TFormPath() override;

    // Shows the window modally; the chosen path, empty when cancelled or closed another way.
    static QString choose(const QString& filter, const QString& message, const QString& path, QWidget* parent,
                          const QString& home);

    // The chosen path once the window closed through OK, Enter or a double click; else empty.
    QString chosenPath() const { return done_ ? model_->path() : QString(); }
    bool done() const { return done_; }

    PathChooser& model() { return *model_; }
    QWidget* grid() const;
    QLineEdit* pathField() const { return editPath; }
    QPushButton* okButton() const { return btnOk; }
    QPushButton* homeButton() const { return btnHome; }
    int currentRow() const;
    // The height limit and whether the right column of scroll buttons shows. O(1).
    bool scrollColumnShown() const;

    // What a press, a double click and OK do (the grid and the buttons call these). O(listing).
    void pressRow(int row);
    void doubleClickRow(int row);
    void okClicked();
    // "キャンセル", Escape or any other close: nothing is chosen.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refill();
    void finish();

    std::unique_ptr<PathChooser> model_;
    bool done_ = false;
    int heightLimit_ = 0;
    int longListTop_ = -1;
    QLabel* PanelMsg = nullptr;
    PathGrid* sgPath = nullptr;
    QWidget* PanelRgtMove = nullptr;
    QLineEdit* editPath = nullptr;
    QPushButton* btnHome = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
