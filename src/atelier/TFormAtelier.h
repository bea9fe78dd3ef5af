// The Atelier "vra Atelier": the program editor of the gallery's current work window. It shows
// the program with line numbers and keyword colours, a menu (load, new from the template, save,
// convert the keyword form, board, font, apply, run and stop, the workshop, help), the command
// reference and the variables of the running program, and marks the line a script error names.
// Its logic lives in the core (AtelierModel, the data files, the save rules); this window applies
// it to widgets.
// It sits on the gallery's exhibition area or floats as a window of its own.
#pragma once

#include "AtelierHost.h"
#include "AtelierModel.h"
#include "work/TFormKesto.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class AcmdEditor;
class AcmdHighlighter;
class CategoryGrid;
class MenuGrid;
class QLabel;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QTextEdit;
class ReferenceGrid;

class TFormAtelier : public QWidget {
    Q_OBJECT
public:
    // Reads the data files of the host's home folder (a missing colour file is reported, the
    // built-in colours stay) and stops the current window's animation timer. `host` must outlive
    // the Atelier. Cost: the three files.
    explicit TFormAtelier(AtelierHost& host);
    ~TFormAtelier() override;

    // Shows the Atelier for the host's current work window: the window goes to (20, 20), the
    // Atelier is placed, the reference shows "ヴィモラコマンド", the program is loaded into the
    // editor and the timer runs. Nothing without a current window. Cost: the program's text.
    void open();
    // "閉じる": asks to save unsaved edits, puts the work window back where it stood, refreshes the
    // work when a program was saved, hides the Atelier and tells the host. Cost: the question.
    void closeAtelier();
    // One menu command (AtelierCommand). Cost: that of the command.
    void runCommand(int row);
    // "宙" / "戻": floats or docks the Atelier and places it again.
    void toggleFloat();
    // A line of the palette's message list: a script error that names a line marks that line
    // in the editor and scrolls it into view. Cost: linear in the message.
    void noteMessage(const QString& line);

    // ---- for the gallery and tests ----
    AtelierModel& model() { return model_; }
    AcmdEditor& editor() { return *RichEditAcmd; }
    TFormKesto* editedWindow() const { return editedWindow_; }
    QString shownPath() const;
    QString status() const;
    int markedLine() const { return markedLine_; }
    bool isFloating() const { return isWindow(); }
    QTimer& timerAtelier() { return TimerAtelier; }
    // Rows of the variables grid as shown (count, name, value).
    QStringList valueRows() const;
    // Named children, for the window's own tests.
    MenuGrid& menu() { return *sgCtrl; }
    ReferenceGrid& reference() { return *sgKestoBasic; }
    CategoryGrid& categories() { return *sgMode; }
    QWidget* helpPanel() const { return PanelMsgAtelier; }
    QWidget* editorPanel() const { return PanelMid; }
    QWidget* valuesPanel() const { return PanelRgt; }
    QWidget* referencePanel() const { return PanelSgBasic; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void readData();
    // The help panel's text from atelier.txt, styled (at creation) or plain (the help row).
    void fillHelpPanel(bool styled);
    // "ヘルプ": the plain text in the 720 x 400 panel 12 pixels above the bottom, caret at the start.
    void showHelpPanel();
    void loadIntoEditor();
    void applyToWork();
    // Shows the program the edited window now holds: caption, title plate, size, frame timer.
    void showWork();
    void newProgram();
    void loadProgram();
    void saveProgram(bool overwrite);
    bool saveUnsavedFirst();
    void convertText();
    void applyBoard();
    void applyFont();
    void recolourAll();
    void selectCategory(int row);
    void setExpanded();
    void layoutCycle();
    void place();
    void placeInside();
    // The children of the editor panel after it was placed or dragged to a new size.
    void placeEditorPanel();
    // Moves or sizes the menu or the editor panel under the mouse (dragPanel); true when used.
    bool dragPanelEvent(QWidget* panel, QEvent* event);
    void refreshValues();
    void updateStatus();
    void textChanged();
    void markLine(int line);
    bool workRunning() const;
    void TimerAtelierTimer();

    AtelierHost& host_;
    AtelierModel model_;
    QPointer<TFormKesto> editedWindow_;
    QPoint windowHome_;        // where the edited window stood before
    QString shownPath_;
    QStringList helpLines_; // atelier.txt as read at creation
    PanelsShown panelsShown_;
    bool relayoutRequest_ = false;
    bool lastRunning_ = false;
    int lastFirstLine_ = -1;
    int markedLine_ = -1;
    int ticks_ = 0;
    QPoint dragFrom_{-1, -1}; // where a panel was grabbed, -1 while no button is held

    // Children (Qt frees them); non-owning links.
    QLabel* PanelAtelier = nullptr;
    QWidget* PanelSgCtrl = nullptr;
    MenuGrid* sgCtrl = nullptr;
    QWidget* PanelMid = nullptr;
    QLabel* PanelNum = nullptr;
    QLabel* PanelAcmdPath = nullptr;
    AcmdEditor* RichEditAcmd = nullptr;
    AcmdHighlighter* highlighter_ = nullptr;
    QLabel* PanelTransfer = nullptr;
    QWidget* PanelSgBasic = nullptr;
    CategoryGrid* sgMode = nullptr;
    QPushButton* PanelSgModeBtm = nullptr;
    QScrollArea* referenceScroll = nullptr;
    ReferenceGrid* sgKestoBasic = nullptr;
    QWidget* PanelRgt = nullptr;
    QTableWidget* sgValue = nullptr;
    QWidget* PanelMsgAtelier = nullptr;
    QTextEdit* RichEditMsg = nullptr;
    QWidget* PanelCtrl = nullptr;
    QPushButton* PanelFree = nullptr;
    QPushButton* PanelClose = nullptr;
    QTimer TimerAtelier;
};
