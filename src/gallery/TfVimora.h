// The gallery window "Vimora Gallery": the top bar, the exhibition area with the palette and its
// work windows (one, or one per work of the group in list display, see ListDisplay), the
// floating works panel and the display form; it drives the tour (GalleryTour). Its logic is
// GalleryState's, which the window owns with the catalog; the window applies what the state asks
// for (GalleryStage), hosts the work windows (KestoHost), is the gallery side of their runners
// (WorkGallerySide) and serves the palette (PaletteGallery).
#pragma once

#include "Catalog.h"
#include "GallerySettings.h"
#include "GalleryStage.h"
#include "GalleryState.h"
#include "GalleryTour.h"
#include "TFormCtrl.h"
#include "TFormMUG.h"
#include "atelier/AtelierHost.h"
#include "work/KestoHost.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class TFormAtelier;
class TFormHelp;
class TFormDisplay;
class TFormKesto;
class ListDisplay;
class WorkWindowLink;
class WorksGrid;

class TfVimora : public QWidget, private GalleryStage, private KestoHost, private WorkGallerySide, private PaletteGallery,
                 private AtelierHost, private TourStage, private MugGallery {
    Q_OBJECT
public:
    // Creates the display form, the top bar and the works panel and reads the catalog of
    // `settings.homeFolder` (a missing local catalog file ends the program through memoryError).
    // The palette and its first work window follow the gallery's first paint (see palette()), so
    // that the first picture waits for neither. `clock` drives the viewing log.
    explicit TfVimora(GallerySettings settings, QWidget* parent = nullptr,
                      PaletteLog::Clock clock = PaletteLog::systemClock());
    ~TfVimora() override;

    GalleryState& state() { return *state_; }
    // The palette, built here when it is not yet: it writes the first log lines and creates the
    // empty work window, which is shown with the gallery; then the first work's row is shown in
    // one display (its load follows on the first timer tick). Every `alldisp=` level starts so;
    // from the second tick on the automatic sequence opens list display on that work's group.
    // Every use of the palette comes through here, so nothing finds it missing; the public actions
    // ask for it first, so that its start (the first row's announcement) comes before the action,
    // as when it was built with the gallery. Cost: constant once built; the first call builds the
    // palette and its window.
    TFormCtrl& palette();
    // The Atelier once "アトリエ" opened it, else nullptr.
    TFormAtelier* atelier() const { return atelier_.get(); }
    // The palette's current work window.
    TFormKesto& workWindow() { return palette().currentKesto(); }
    ListDisplay& listDisplay() { return *list_; }
    // Made with the palette, whose model it steps.
    GalleryTour& tour() {
        palette();
        return *tour_;
    }
    // "全展示" / "１展示": announced, the works panel slides with it, and the next tick switches
    // the display mode. Cost: constant.
    void PanelAllDisplayClick();
    // "巡回" / "巡■": starts or ends the tour. Cost: constant.
    void PanelTourClick();
    // "宇宙Ｇ": the space gallery is set up (once) and shown over the exhibition area, or hidden
    // when it is shown. Cost: constant; its first tick loads every toured work.
    void PanelMUGClick();
    // "ヘルプ": the help viewer (created on first use, then kept) in its brief mode on the
    // exhibition area, or floating where it floats; showing reads its file again. Cost: the file.
    void PanelHelpClick();
    // The help viewer once "ヘルプ" opened it, else nullptr.
    TFormHelp* helpViewer() const { return help_.get(); }
    // "vra教室": the classroom page in a browser window; a work it links to is shown in the
    // gallery (one display) when the catalog holds it.
    void PanelRoomClick();
    // Shows the catalog's work whose program is at `path`; false when the catalog has none.
    bool showWorkAt(const QString& path);
    // The space gallery once "宇宙Ｇ" opened it, else nullptr.
    TFormMUG* spaceGallery() const { return mug_.get(); }
    TFormDisplay& displayForm() { return *display_; }
    WorksGrid& worksGrid() { return *sgWorks; }
    QTimer& timerUpDown() { return TimerUpDown; }
    // The group panel's text (the current group's title).
    QString groupTitle() const;
    // "PanelRun" / Enter / the palette's run button: a work that ran before is announced and
    // toggled by the palette's next step, one that never ran starts at once. Cost: constant, or
    // the start of a run.
    void runOrStop() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
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
    void placeWorksPanel(const WorksPanelPlace& place) override;
    void endProgram() override;
    void openAtelier() override;
    void toggleListDisplay() override;
    bool listDisplayOnGroupChange(bool atOnce) override;
    void togglePresentAll() override;
    void toggleRunAll() override;
    bool stepListWindows(bool evenTick) override;
    void continueTour() override;
    bool listDisplayOn() const override;
    void selectInList(const CatalogEntry& entry, bool rowChanged) override;

    // MugGallery
    void announceGallery(const QString& text) override { announce(text, 0, false); }
    void announceRunOn(TFormKesto& window) override;
    void followSpaceWindow(TFormKesto& window) override { palette().followWindow(window); }
    void showPaletteRunning(bool running) override { palette().updateRunButton(running); }
    void logShown(const QString& title) override { palette().model().addLogLine(PaletteLog::Shown, title); }
    void spaceGalleryClosed() override;
    void catalogGrew() override { rowsChanged(); }
    bool startRequestedMusic() override { return palette().startRequestedMusic(); }

    // TourStage
    void announceTour(const QString& text) override;
    void showTourButton(bool touring) override;
    bool listDisplay() const override { return listDisplayOn(); }

    // PaletteGallery
    void announceOn(TFormKesto& window, const QString& text, int textSize) override;
    void showRunButton(bool running) override;
    void windowCountChanged(int count) override;
    void windowClosing(TFormKesto& window) override;
    void pointerToTopBar() override;
    void tourStep() override { tour().step(); }

    // AtelierHost
    int paletteBottom() const override;
    QString homeFolder() const override { return settings_.homeFolder; }
    QString& chooserFolder() override { return settings_.chooserFolder; }
    bool loadByChooser(TFormKesto& window) override { return palette().loadByChooser(window, settings_.chooserFolder); }
    void refreshWork(TFormKesto& window) override;
    void showAllWindows(bool on) override { palette().showAllWindows(on); }
    void atelierClosed() override;

    // KestoHost (and AtelierHost)
    WorkPaletteSide& workPalette() override { return palette(); }
    WorkGallerySide& workGallery() override { return *this; }
    QWidget* exhibitionArea() const override { return PanelBase; }
    QWidget* galleryWindow() const override { return const_cast<TfVimora*>(this); }
    int topBarHeight() const override { return 40; }
    QRect worksPanelRect() const override;
    bool isSpaceGalleryShown() const override { return mug_ && mug_->isVisible(); }
    void spaceGalleryActivate(TFormKesto& window) override;
    bool offersUniverseHelp() const override { return true; }
    void showUniverseHelp(QWidget* area) override;
    void releaseUniverseHelp() override;
    std::optional<QPoint> topBarPointerSpot() const override;
    TFormKesto* currentWindow() const override { return palette_ ? &palette_->currentKesto() : nullptr; }
    void windowActivated(TFormKesto& window) override;
    void requestClose(TFormKesto& window) override;
    void requestRunToggle(TFormKesto& window) override;
    void windowResized(TFormKesto& window) override;
    void toggleMusic() override { palette().toggleMusic(); }
    QWidget* musicPlayerWindow() const override;
    void zoomChanged(TFormKesto& window) override;

    // WorkGallerySide
    int stopFlag() const override;
    void setStopFlag(int flag) override;
    void runEnded(WorkRunner&) override;
    void runNotStarted(WorkRunner&) override;
    // The link of a window of the palette or of the space gallery.
    WorkWindowLink* anyLinkOf(const WorkRunner& runner) const;
    void runToggled(WorkRunner&, bool starting) override;
    void setWallColor(uint32_t color) override;

    void buildPalette();
    void showPaletteWindows();
    void buildTopBar();
    void buildWorksPanel();
    void layoutWorksList();
    void fitWorksGrid();
    bool dragWorksPanel(QEvent* event);
    void centreWorkWindow();
    void TimerUpDownTimer();
    void slideWorksList();
    void showLoaded(TFormKesto& window, const QString& title);
    void paintRunPanel(bool running);
    void placePalette();
    void placeWorksPanelAt(const QRect& geometry);

    Catalog& catalog() { return *catalog_; }

    GallerySettings settings_;

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
    QPushButton* PanelGotoTop = nullptr;
    QScrollArea* worksScroll = nullptr;
    WorksGrid* sgWorks = nullptr;
    QLabel* PanelRun = nullptr;
    QLabel* ImageRun = nullptr;
    QPushButton* PanelTour = nullptr;
    QPushButton* PanelAllDisplay = nullptr;
    QPushButton* PanelNarrow = nullptr;
    QPushButton* PanelWide = nullptr;
    QPushButton* PanelAllActive = nullptr;
    QPushButton* PanelAllRun = nullptr;
    QPushButton* PanelOption = nullptr;
    QPushButton* PanelMUG = nullptr;
    QLabel* PanelURLSerch = nullptr;

    // The catalog and the state the palette's stop flag lives in outlive the palette; the palette
    // (and with it the work windows) goes before them: the display form may sit on a work window
    // and must go before it.
    std::unique_ptr<Catalog> catalog_;
    std::unique_ptr<GalleryState> state_;
    // Built by palette(); until then the clock waits here for its log.
    std::unique_ptr<TFormCtrl> palette_;
    PaletteLog::Clock paletteClock_;
    bool paletteQueued_ = false;
    std::unique_ptr<ListDisplay> list_;
    std::unique_ptr<GalleryTour> tour_;
    // Created on the first "宇宙Ｇ"; its windows go before the palette they talk to.
    std::unique_ptr<TFormMUG> mug_;
    std::unique_ptr<TFormDisplay> display_;
    // Created on the first "アトリエ"; goes before the palette's work windows it edits.
    std::unique_ptr<TFormAtelier> atelier_;
    // Created on the first "ヘルプ"; a child of the exhibition area while docked, so it goes first.
    std::unique_ptr<TFormHelp> help_;
    QTimer TimerUpDown;
    bool laidOut_ = false;
    int laidFold_ = -1; // the fold, row count and folded-around rows the works list was laid out for
    int laidRows_ = -1;
    CatalogEntry laidAround_;
    // The group whose line the log got last, and the log's length just after it.
    const acmdGroupInfo* loggedGroup_ = nullptr;
    int loggedGroupAt_ = -1;
    int dragX_ = -1; // where the works panel was grabbed, -1 while no button is held
    int dragY_ = -1;

    friend class ListDisplay;
};
