// The work window: a picture inside four frame strips, with small corner panels that appear when
// the mouse comes near them (run, close, full size, list size, renew, float), a title plate with
// the chart and music buttons, and a game pad. It owns a runner, the program timer `TimerProg`
// and the frame timer `TimerKesto`; the timers follow what the runner asks for, the run state is
// the runner's and the geometry rules are KestoGeometry's. It sits on the gallery's exhibition
// area (KestoHost::exhibitionArea) or floats as a window of its own.
#pragma once

#include "KestoChartForm.h"
#include "KestoHost.h"
#include "WorkRunner.h"
#include "WorkWindowSide.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class TFormWeb;
class KestoGamePad;
class KestoTitlePlate;

class TFormKesto : public QWidget, private WorkWindowSide {
    Q_OBJECT
public:
    // `host` must outlive the window. Without a parent the window goes onto the host's exhibition
    // area; without one either it is a free window centred on the screen, 50 pixels right.
    explicit TFormKesto(KestoHost& host, int workNumber = 0, QWidget* parent = nullptr);
    ~TFormKesto() override;

    // Loads a program file (fetched when the folder is an http address) and shows the work (the
    // first animation block built, the frame timer on when there is a character). False when it
    // could not be loaded (reported). `fetchedBytes`, when given, receives the byte count of the
    // fetch (0 for a file read from a folder or a failed fetch). Cost: loading and compiling; a
    // fetch blocks.
    bool openWork(const QString& folder, const QString& fileName, uint32_t* fetchedBytes = nullptr);

    WorkRunner& runner() { return *runner_; }
    const WorkRunner& runner() const { return *runner_; }
    KestoHost& host() { return host_; }
    QTimer& timerProg() { return TimerProg; }
    QTimer& timerKesto() { return TimerKesto; }

    // ---- size and place (all constant time plus a repaint) ----
    // Window size and frame width from the base size and `zoomPercent` (nothing below 10 %),
    // then the picture is fitted and the corner panels laid out.
    void applyZoom();
    // Sets `zoomPercent` and applies it.
    void setZoom(int percent);
    // Moves the window to its centred place: in the exhibition area when docked, against the
    // gallery window (or the screen) when floating.
    void centreInGallery();
    // Moves a docked window right of the works panel while the panel is shown.
    void moveClearOfWorksPanel();
    // Fits the picture (with its overhang) into the frame, places the title plate and the music
    // player, lays out the corner panels, keeps a chart form at the picture's edges and lets the
    // host fit its display form. Called on every resize.
    void fitPicture();
    // Places the corner panels inside `PanelAnime`.
    void layoutCorners();
    // Shows one corner panel and hides the others and the one the palette remembers (from any
    // window); nullptr hides them all.
    void showCornerPanel(QWidget* panel);
    // Makes this window the palette's current window (the space gallery takes the request while
    // it is shown): frame in its own colour, frame timer on, shown, then the host's side.
    void activateWindow();
    // "≫": full size, 50 pixels from the exhibition area's right and bottom edges; the zoom and
    // place are saved for going home.
    void goFullSize();
    // "≪": back to the saved zoom and place at list size.
    void goListSize();
    // "宙" / "戻": leaves the gallery as a free window, or goes back onto the exhibition area,
    // centred and clear of the works panel, as the current window. The run state is untouched.
    // Nothing without a gallery.
    void toggleFloat();
    // "プレイ": shows the game pad beside the window (toggling the chart) or hides it.
    void toggleGamePad();
    // True while the window floats as a window of its own (a window without a parent).
    bool isFloating() const;

    // ---- title plate, chart and music buttons (for the gallery and palette) ----
    // The plate's text: the program's title text; empty: the window's caption. Cost: a re-place.
    void setTitleText(const QString& text);
    // Shows or hides the plate. Below the window it otherwise follows the window's visibility.
    void setTitlePlateVisible(bool visible);
    // The chart button "◆◇■□★▲●" of a chart kind (0 to 6, see KestoTitlePlate::chartSymbol).
    void setChartButton(int kind, bool visible);
    // The chart button follows the work's chart: the symbol of its kind ("◆" while the kind is
    // unknown) when the work has one, hidden otherwise. Cost: constant.
    void showChartButton();
    // Pixels per character of the plate below the window: 11, or 16 for the gallery's lone
    // window. The plate (and the music player beside it) is placed again. Cost: a re-place.
    static constexpr int kPlateCharacterWidth = 11;
    static constexpr int kLonePlateCharacterWidth = 16;
    void setPlateCharacterWidth(int pixels);
    // The music button "♪".
    void setMusicButtonVisible(bool visible);
    // The plate's countdown (set to 30 by a hover at list size; the palette counts it down and
    // hides the plate).
    int& titlePlateCountdown() { return plateCountdown_; }
    KestoTitlePlate* titlePlate() const;
    // The chart's browser form while one is open, else nullptr.
    TFormWeb* chartForm() const { return chartForm_.form(); }
    KestoGamePad* gamePad() const;

    // ---- components, as the old window named them (children; never null) ----
    struct Panels {
        QWidget* PanelBase = nullptr;
        QLabel* PanelAnime = nullptr;
        QWidget* PanelImg = nullptr;
        QWidget* ImageAnime = nullptr;
        std::array<QWidget*, 4> strips{}; // top, bottom, left, right
        QLabel* PanelRun = nullptr;
        QLabel* ImageRun = nullptr;
        QLabel* PanelClose = nullptr;
        QLabel* PanelGoOut = nullptr;
        QLabel* PanelGoHome = nullptr;
        QLabel* PanelRenew = nullptr;
        QLabel* PanelFree = nullptr;
        QLabel* PanelGame = nullptr;
    };
    const Panels& panels() const { return p_; }
    // The zone the mouse was last in (1 go out, 2 go home, 3 close, 4 nothing, 5 run, 6 edge).
    int hoveredZone() const { return hoveredZone_; }
    // The colour the frame strips show now (0x00BBGGRR).
    uint32_t shownFrameColor() const { return frameColor_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // WorkWindowSide
    void paintWindowFrame(uint32_t color) override;
    void hideCornerPanels() override;
    void reposition() override;
    void placeTitlePlate() override;
    void hideGamePad() override;
    void hideGamePanel() override;
    void showGamePanel() override;
    bool gamePadVisible() const override;
    void showMusicPanel() override;
    AnimeWindowGeometry windowGeometry() const override;
    void moveWindow(int left, int top) override;
    void resizeWindow(int width, int height) override;
    void maximise() override;
    void restoreNormal() override;
    void setFrameStrips(int topBottom, int leftRight) override;
    std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder, const QString& options,
                                                  int mode) override;
    bool openChartForm(WorkChart& chart, const QString& folder) override;
    void chartMoved(const WorkChart& chart) override { chartForm_.follow(chart); }
    void closeChartForm() override { chartForm_.close(); }

    void buildPanels();
    QLabel* cornerPanel(const QString& text, QColor text_colour, QColor background, const QString& hint = {});
    void layoutFrame();
    void paintStrips();
    void paintPicture(QWidget* target);
    void hoverPicture(QMouseEvent* event);
    void clickPanel(QObject* panel);
    void runClicked(bool fromImage);
    void refreshRunPanel();
    bool dragFrame(QEvent* event);
    void showGamePadBeside();
    void setPanelColour(QLabel* panel, QColor background, QColor text);
    // The parent of the plate and the pad (the exhibition area, or this window for free tool
    // windows), and this window's rectangle in its coordinates.
    QWidget* sideContainer() const;
    QRect windowRectIn(const QWidget* container) const;
    QSize containerSize(const QWidget* container) const;

    KestoHost& host_;
    QTimer TimerProg;
    QTimer TimerKesto;
    // Declared before the runner, so that it outlives it.
    KestoChartForm chartForm_;
    std::unique_ptr<WorkRunner> runner_;
    Panels p_;
    // On the exhibition area, beside the window: freed with the window.
    QPointer<KestoTitlePlate> PanelTheme;
    QPointer<KestoGamePad> PanelGameCtrl;
    std::array<QImage, 4> frameImages_;
    uint32_t frameColor_ = 0x808000; // teal
    bool topImageHidden_ = false;
    int stripTopBottom_ = 16;
    int stripLeftRight_ = 16;
    bool maximised_ = false; // the canvas setting's max, done by hand while docked
    QRect normalPlace_;      // where a docked window stood before it was maximised
    int workNumber_ = 0;
    bool opened_ = false;
    QString titleText_;
    bool plateEnabled_ = true;
    int plateCharacterWidth_ = kPlateCharacterWidth;
    int plateCountdown_ = 0;
    int hoveredZone_ = 4;
    QPoint dragOrigin_{-1, -1};

    void syncTimers();
    void TimerProgTimer();
    void TimerKestoTimer();
};
