// The workshop window "工作室" (アトリエⅡ): a bar of buttons, the picture, the last tile written
// and the memo the text results land in. Every button forwards to WorkshopModel and then shows
// what the model holds; the window itself only draws, selects and copies the memo's text.
// The Atelier opens it modally with the home folder and frees it when it closes.
#pragma once

#include "WorkshopModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;

class TFormAtelie2 : public QDialog {
    Q_OBJECT
public:
    // `homeFolder` ends with "/"; the bitmap chooser starts there. Cost: building the widgets.
    explicit TFormAtelie2(const QString& homeFolder, QWidget* parent = nullptr);
    ~TFormAtelie2() override;

    WorkshopModel& model() { return model_; }
    // The button captioned `caption`, for tests; nullptr when there is none.
    QPushButton* button(const QString& caption) const;
    QLineEdit& columnsField() { return *EditHdiv; }
    QLineEdit& rowsField() { return *EditVdiv; }
    QPlainTextEdit& memo() { return *MemoBitData; }
    // The picture and the tile as shown.
    QImage shownPicture() const;
    QImage shownTile() const;

private:
    void build();
    QPushButton* addButton(const QString& caption, int width, void (TFormAtelie2::*action)());
    // Shows the model's picture, tile and memo.
    void refresh();
    void loadClick();
    void invertClick();
    void outlineClick();
    void dataClick();
    void selectAllClick();
    void copyClick();
    void iconClick();
    void savePictureClick();
    void patternClick();
    void tilesClick();

    WorkshopModel model_;
    int shownFills_ = -1; // the model's memo fills shown; a command that left the memo keeps the user's edits

    // Children (Qt frees them); non-owning links.
    QWidget* PanelTop = nullptr;
    QLineEdit* EditHdiv = nullptr;
    QLineEdit* EditVdiv = nullptr;
    QSplitter* splitterMemo = nullptr;
    QSplitter* splitterRight = nullptr;
    QScrollArea* scrollBitMap = nullptr;
    QLabel* ImageBitMap = nullptr;
    QWidget* PanelRifht = nullptr;
    QLabel* ImageTemp = nullptr;
    QPlainTextEdit* MemoBitData = nullptr;
};
