// The program's one help viewer "ヴィモラ  アート の ヘルプ": a help file of the home folder's
// `atelier/` with its header in light green and its body in white (HelpFile). It sits docked in
// a panel of the window that called it or floats as a window of its own; closing only hides it.
// The gallery creates it on the first "ヘルプ" and keeps it.
#pragma once

#include "HelpFile.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

class TFormHelp : public QWidget {
    Q_OBJECT
public:
    // A viewer in `panel` for `helpMode`, as high as `dockArea` − 40 and centred on its size.
    // `dockArea` (the gallery's exhibition area) is where "戻" docks the viewer; it must outlive
    // it. Files are read from `homeFolder`. Cost: building the widgets.
    TFormHelp(const QString& homeFolder, QWidget* dockArea, int helpMode, QWidget* panel);
    ~TFormHelp() override;

    // A caller's new use: the mode and, unless the viewer floats, the panel it docks in.
    void setPlace(int helpMode, QWidget* panel);
    // Loads the current mode's file; docked, the viewer is as high as its panel − 40 and centred
    // in it; caret at the start, focus in the text. Cost: the file.
    void showHelp();
    // "宙" / "戻": floats the viewer as a window of its own, or docks it in the dock area
    // (centred horizontally, at the top, as high as the area − 100).
    void toggleFloat();
    // "閉じる", Q released in the text: hides the viewer.
    void closeHelp() { hide(); }

    int helpMode() const { return helpMode_; }
    bool isFloating() const { return isWindow(); }
    QTextEdit& text() { return *richEditHelp; }
    // The button captioned `caption` ("宙", "頂", "詳細", "閉じる"...), for tests.
    QPushButton* button(const QString& caption) const;
    QLabel& nebuPanel() { return *PanelNebu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void loadHelp();
    void centreIn(QWidget* parent, int height, int top);

    QString homeFolder_;
    QWidget* dockArea_; // not owned
    int helpMode_;

    // Children (Qt frees them); non-owning links.
    QWidget* PanelTop = nullptr;
    QPushButton* bbtnFree = nullptr;
    QPushButton* bbtnTop = nullptr;
    QPushButton* bbtnDetail = nullptr;
    QLabel* PanelNebu = nullptr;
    QWidget* PanelRgt = nullptr;
    QPushButton* bbtnEnd = nullptr;
    QTextEdit* richEditHelp = nullptr;
    QWidget* PanelBtm = nullptr;
};
