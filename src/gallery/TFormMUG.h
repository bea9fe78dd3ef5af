// The space gallery "メタ宇宙ギャラリー": every toured work of the catalog as a work window floating
// in a starry space over the gallery's exhibition area, with the earth at the far end and the
// control strip `PanelView` (flight in six directions, next/previous/first, run, tour, walk,
// number of works drawn, close). Its flight is MugFlight's, driven by `TimerMug` (30 ms); the
// form draws what the flight projects. It owns the windows it placed.
#pragma once

#include "MugFlight.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class Catalog;
class KestoHost;
class QLabel;
class QLineEdit;
class QPushButton;
class TFormKesto;
class WorkRunner;
class WorkWindowLink;

// What the space gallery asks of the gallery window.
class MugGallery {
public:
    virtual ~MugGallery() = default;
    // The gallery's announcement over the gallery, respectively over a work window.
    virtual void announceGallery(const QString& text) = 0;
    virtual void announceRunOn(TFormKesto& window) = 0;
    // The palette's displays follow the window; its run buttons show the run state.
    virtual void followSpaceWindow(TFormKesto& window) = 0;
    virtual void showPaletteRunning(bool running) = 0;
    // A work was shown: the viewing log's line "%s:「%s」の展示.".
    virtual void logShown(const QString& title) = 0;
    // The space gallery closed: the top bar, the palette timer and the works list come back.
    virtual void spaceGalleryClosed() = 0;
    // A remote source's groups were fetched: the works list follows the new rows.
    virtual void catalogGrew() = 0;
};

class TFormMUG : public QWidget, private MugStage {
    Q_OBJECT
public:
    // Lies over `area` and fills it; the windows are made on the first tick. `gallery`, `host`
    // and `catalog` must outlive the form. Cost: constant.
    TFormMUG(MugGallery& gallery, KestoHost& host, Catalog& catalog, QWidget* area);
    ~TFormMUG() override;

    // Shows the space gallery: no flight, no walk, its timer on. Cost: constant.
    void open();
    // "閉": announced; a tour ends, every running work stops, the timer stops and it hides.
    void closeGallery();
    // Every placed work stops and its timers with it (the gallery closes). Cost: linear.
    void stopAll();

    MugFlight& flight() { return flight_; }
    QTimer& timerMug() { return TimerMug; }
    // The link of a window the space gallery placed, or nullptr.
    WorkWindowLink* linkOf(const WorkRunner& runner) const;
    WorkWindowLink* linkOf(const TFormKesto& window) const;
    bool arranged() const { return arranged_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MugStage
    void showProjection(const std::vector<MugSpace::Projected>& works, const QRect& earth) override;
    void light(Button button) override;
    void showRunning(bool running) override;
    void showTourButton(bool touring) override;
    void makeCurrent(PaletteWindow& window) override;
    void announceRun(PaletteWindow& window) override;

    void build();
    void arrange();
    void drawStars();
    void TimerMugTimer();
    QPushButton* button(const QString& text, const QString& hint, int width);
    QPushButton* buttonOf(Button button) const;

    MugGallery& gallery_;
    KestoHost& host_;
    Catalog& catalog_;
    MugFlight flight_{static_cast<MugStage&>(*this)};
    std::vector<std::unique_ptr<WorkWindowLink>> placed_;
    QTimer TimerMug;
    bool arranged_ = false;
    Button lit_ = Button::None;

    // Children (Qt frees them); non-owning links.
    QWidget* PanelBase = nullptr;
    QLabel* ImageMUG = nullptr;
    QLabel* ImageEarth = nullptr;
    QLabel* PanelGallery = nullptr;
    QWidget* PanelView = nullptr;
    QPushButton* PanelNext = nullptr;
    QPushButton* PanelPrev = nullptr;
    QPushButton* PanelFront = nullptr;
    QPushButton* PanelContinue = nullptr;
    QPushButton* PanelTour = nullptr;
    QPushButton* PanelRun = nullptr;
    QLabel* ImageRun = nullptr;
    QPushButton* PanelReduce = nullptr;
    QPushButton* PanelCnt = nullptr;
    QPushButton* PanelIncrease = nullptr;
    QLineEdit* EditView = nullptr;
    int stripLeft_ = 2; // where the next control goes on the strip while it is built
    int dragX_ = -1;
    int dragY_ = -1;
};
