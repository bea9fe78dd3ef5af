// The gallery window "Vimora Gallery" in one display: the top bar, the exhibition area with the one
// reused work window, the floating works panel and the display form. Its logic is GalleryState's;
// the window applies what the state asks for (GalleryStage) and hosts the work window (WorkHost).
#pragma once

#include "Catalog.h"
#include "GallerySettings.h"
#include "GalleryStage.h"
#include "GalleryState.h"
#include "work/KestoHost.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class TFormDisplay;
class TFormKesto;
class WorksGrid;

class TfVimora : public QWidget, private GalleryStage, private KestoHost {
    Q_OBJECT
public:
    // Reads the catalog of `settings.homeFolder` (a missing local catalog file ends the program
    // through memoryError), creates the display form and the empty work window and shows the
    // first work's row in one display (its load follows on the first timer tick).
    explicit TfVimora(GallerySettings settings, QWidget* parent = nullptr);
    ~TfVimora() override;

    GalleryState& state() { return *state_; }
    TFormKesto& workWindow() { return *workWindow_; }
    TFormDisplay& displayForm() { return *display_; }
    WorksGrid& worksGrid() { return *sgWorks; }
    QTimer& timerUpDown() { return TimerUpDown; }
    // The group panel's text (the current group's title).
    QString groupTitle() const;
    // "PanelRun" / Enter: runs or stops the current work. Cost: constant.
    void runOrStop();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GalleryStage
    void announce(const QString& text, int textSize, bool onWork) override;
    void setDisplayText(const QString& text) override;
    void hideDisplay() override;
    bool slideDisplay() override;
    bool loadWork(const CatalogEntry& entry) override;
    void stopWorkTimers() override;
    void markGroup(const acmdGroupInfo& group) override;
    void rowsChanged() override;
    WorksPanelPlace worksPanel() const override;
    void placeWorksPanel(const WorksPanelPlace& place) override;
    void endProgram() override;

    // WorkHost
    int stopFlag() const override;
    void setStopFlag(int flag) override;
    void runEnded(WorkRunner&) override;
    void runToggled(WorkRunner&, bool starting) override;
    void updateRunButton(bool running) override;
    void addMessage(const QString& line) override;
    void logViewing(ViewingEvent event, const QString& caption) override;
    void paintWindowFrame(uint32_t color) override;
    void reposition() override;

    void buildTopBar();
    void buildWorksPanel();
    void layoutWorksList();
    void fitWorksGrid();
    bool dragWorksPanel(QEvent* event);
    void centreWorkWindow();
    void syncTimer();
    void TimerUpDownTimer();
    void slideWorksList();

    GallerySettings settings_;
    std::unique_ptr<Catalog> catalog_;
    std::unique_ptr<GalleryState> state_;

    // Children of the window (Qt frees them); kept as non-owning links.
    QWidget* PanelTop = nullptr;
    QWidget* PanelTopLeft = nullptr;
    QLabel* PanelTitol = nullptr;
    QLabel* PanelGroup = nullptr;
    QPushButton* PanelUpDown = nullptr;
    QWidget* pTopRight = nullptr;
    QWidget* PanelBase = nullptr;
    QFrame* PanelWorks = nullptr;
    QWidget* PanelWorksTop = nullptr;
    QPushButton* PanelGotoBtm = nullptr;
    QScrollArea* worksScroll = nullptr;
    WorksGrid* sgWorks = nullptr;
    QLabel* ImageRun = nullptr;
    QLabel* PanelURLSerch = nullptr;

    // The work window first: the display form may sit on it and must go before it.
    std::unique_ptr<TFormKesto> workWindow_;
    std::unique_ptr<TFormDisplay> display_;
    QTimer TimerUpDown;
    bool laidOut_ = false;
    int laidFold_ = -1; // the fold, row count and folded-around rows the works list was laid out for
    int laidRows_ = -1;
    CatalogEntry laidAround_;
    int dragX_ = -1; // where the works panel was grabbed, -1 while no button is held
    int dragY_ = -1;
};
