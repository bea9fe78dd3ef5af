#include "TFormMUG.h"

#include "Catalog.h"
#include "GalleryWidgets.h"
#include "ListLayout.h"
#include "WorkWindowLink.h"
#include "common/MousePointer.h"
#include "common/ProgramFont.h"
#include "common/RunMarkLabel.h"
#include "work/KestoHost.h"
#include "work/KestoTitlePlate.h"
#include "work/TFormKesto.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>

using namespace GalleryWidgets;

namespace {

constexpr uint32_t kSpaceColour = 0x300000;
constexpr uint32_t kSkyColour = 0x180000;
constexpr uint32_t kStarColour = 0xD0D0;
constexpr uint32_t kStripColour = 0x806000;
constexpr uint32_t kDarkButton = 0x302000;
constexpr uint32_t kDarkText = 0xF000;
constexpr uint32_t kLitButton = 0xE0E0E0;
constexpr uint32_t kLitText = 0xA0;
constexpr QSize kStripSize(454, 32);
constexpr int kStripRight = 12;
constexpr int kInteraction = 30;

// The earth, drawn in code: a blue globe with green lands and a lit rim.
QPixmap earthPicture() {
    QPixmap picture(228, 228);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sea(QPointF(80, 80), 150);
    sea.setColorAt(0, QColor(90, 160, 255));
    sea.setColorAt(1, QColor(10, 40, 120));
    p.setBrush(sea);
    p.setPen(QPen(QColor(170, 210, 255), 3));
    p.drawEllipse(QRectF(4, 4, 220, 220));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 70));
    p.drawEllipse(QRectF(50, 60, 70, 50));
    p.drawEllipse(QRectF(110, 120, 60, 70));
    p.drawEllipse(QRectF(140, 50, 40, 30));
    return picture;
}

} // namespace

TFormMUG::TFormMUG(MugGallery& gallery, KestoHost& host, Catalog& catalog, QWidget* area)
    : QWidget(area), gallery_(gallery), host_(host), catalog_(catalog) {
    setWindowTitle(QStringLiteral("メタ宇宙ギャラリー"));
    setGeometry(area->rect());
    build();
    TimerMug.setInterval(30);
    connect(&TimerMug, &QTimer::timeout, this, &TFormMUG::TimerMugTimer);
    hide();
}

TFormMUG::~TFormMUG() {
    TimerMug.stop();
    stopAll();
}

QPushButton* TFormMUG::button(const QString& text, const QString& hint, int width) {
    QPushButton* b = makeButton(PanelView, text, QRect(stripLeft_, 4, width, 24), kDarkText, hint, kDarkButton);
    stripLeft_ += width + 1;
    return b;
}

void TFormMUG::build() {
    PanelBase = new QWidget(this);
    paintBackground(PanelBase, kSpaceColour);
    ImageMUG = new QLabel(PanelBase);
    ImageEarth = new QLabel(PanelBase);
    ImageEarth->setPixmap(earthPicture());
    ImageEarth->setScaledContents(true);
    ImageEarth->setAttribute(Qt::WA_TranslucentBackground);
    ImageEarth->resize(57, 57);
    ImageEarth->installEventFilter(this);
    PanelGallery = makeLabel(PanelBase, QStringLiteral("ヴィモラ　宇宙 ギャラリー"), {}, 0xA0C080,
                             programFont(QStringLiteral("ＭＳ Ｐゴシック"), 27, true));
    PanelGallery->setAlignment(Qt::AlignCenter);
    PanelGallery->installEventFilter(this);

    PanelView = new QWidget(PanelBase);
    paintBackground(PanelView, kStripColour);
    PanelView->resize(kStripSize);
    PanelView->setToolTip(QStringLiteral("上移動を加速する"));
    PanelView->installEventFilter(this);
    const auto steer = [this](QPushButton* b, int dx, int dy, int dz) {
        connect(b, &QPushButton::clicked, this, [this, dx, dy, dz] {
            flight_.accelerate(dx, dy, dz);
            EditView->setFocus();
        });
    };
    steer(button(QStringLiteral("←"), QStringLiteral("左移動を加速する"), 24), -1, 0, 0);
    steer(button(QStringLiteral("↑"), QString(), 24), 0, -1, 0);
    steer(button(QStringLiteral("↓"), QStringLiteral("下移動を加速する"), 24), 0, 1, 0);
    steer(button(QStringLiteral("→"), QStringLiteral("右移動を加速する"), 24), 1, 0, 0);
    steer(button(QStringLiteral("戻"), QStringLiteral("手前移動を加速する"), 24), 0, 0, 1);
    steer(button(QStringLiteral("進"), QStringLiteral("奥移動を加速する"), 24), 0, 0, -1);
    // The buttons that start a flight move the pointer off them, out of the works' way.
    const auto withPointerUp = [this](QPushButton* b, auto action) {
        connect(b, &QPushButton::clicked, this, [action] {
            moveCursor(0, -30);
            action();
        });
    };
    PanelPrev = button(QStringLiteral("前"), QStringLiteral("前の作品に移動する"), 24);
    withPointerUp(PanelPrev, [this] { flight_.previous(); });
    PanelNext = button(QStringLiteral("次"), QStringLiteral("次の作品に移動する"), 24);
    withPointerUp(PanelNext, [this] { flight_.next(); });
    PanelRun = button(QString(), QStringLiteral("目の前の作品を鑑賞する"), 30);
    ImageRun = makeRunMarkLabel(PanelRun, QSize(30, 24), 7, 4, 20);
    ImageRun->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(PanelRun, &QPushButton::clicked, this, [this] { flight_.run(); });
    PanelTour = button(QStringLiteral("巡回"), QStringLiteral("一作品ずつ鑑賞して回る"), 42);
    withPointerUp(PanelTour, [this] { flight_.toggleTour(); });
    PanelContinue = button(QStringLiteral("散歩"), QStringLiteral("作品を見て回る"), 42);
    withPointerUp(PanelContinue, [this] { flight_.toggleWalk(); });
    PanelFront = button(QStringLiteral("始"), QStringLiteral("最初の作品に戻る"), 24);
    withPointerUp(PanelFront, [this] { flight_.first(); });
    PanelReduce = button(QStringLiteral("－"), QStringLiteral("表示作品数を減らす"), 22);
    connect(PanelReduce, &QPushButton::clicked, this, [this] { flight_.changeVisible(-1); });
    PanelReduce->installEventFilter(this);
    PanelCnt = button(QStringLiteral("10／ 0"), QString(), 60);
    connect(PanelCnt, &QPushButton::clicked, this, [this] { flight_.changeVisible(-1); });
    PanelIncrease = button(QStringLiteral("＋"), QStringLiteral("表示作品数を増す"), 22);
    connect(PanelIncrease, &QPushButton::clicked, this, [this] { flight_.changeVisible(1); });
    PanelIncrease->installEventFilter(this);
    auto* close = button(QStringLiteral("閉"), QStringLiteral("宇宙ギャラリーを閉じる"), 24);
    connect(close, &QPushButton::clicked, this, &TFormMUG::closeGallery);
    EditView = new QLineEdit(PanelView);
    EditView->setGeometry(kStripSize.width() - 3, 4, 2, 24);
    EditView->installEventFilter(this);
    showRunning(false);
}

void TFormMUG::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PanelBase->setGeometry(rect());
    ImageMUG->setGeometry(rect());
    PanelGallery->setGeometry(0, 4, width(), 40);
    PanelView->move(width() - kStripSize.width() - kStripRight, height() - kStripSize.height() - 12);
    if (arranged_) drawStars();
}

void TFormMUG::drawStars() {
    QPixmap sky(size().expandedTo(QSize(1, 1)));
    sky.fill(QColor(bgrToRgb(kSkyColour)));
    QPainter p(&sky);
    p.setPen(QColor(bgrToRgb(kStarColour)));
    QRandomGenerator random(uint32_t(QDateTime::currentMSecsSinceEpoch()));
    const int stars = width() * height() / 10000;
    for (int i = 0; i < stars; ++i) {
        p.setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), int(random.bounded(5)) + 4));
        p.drawText(int(random.bounded(std::max(width(), 1))), int(random.bounded(std::max(height(), 1))), QStringLiteral("★"));
    }
    ImageMUG->setPixmap(sky);
}

void TFormMUG::open() {
    flight_.land();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    TimerMug.start();
    EditView->setFocus();
}

void TFormMUG::stopAll() {
    for (const auto& link : placed_) {
        link->runner().close();
        link->kesto().hide();
    }
}

void TFormMUG::closeGallery() {
    gallery_.announceGallery(QStringLiteral("「ヴィモラ 宇宙ギャラリー」を閉じます。"));
    if (flight_.tourWindow()) flight_.endTour();
    for (const auto& link : placed_) link->runner().close();
    showRunning(false);
    TimerMug.stop();
    flight_.land();
    hide();
    gallery_.spaceGalleryClosed();
}

void TFormMUG::arrange() {
    drawStars();
    std::vector<PaletteWindow*> windows;
    std::vector<MugSpace::Work> works;
    int groupNumber = 0;
    for (const auto& source : catalog_.sources()) {
        if (source->groups.empty() && source->remote && catalog_.fetchSourceGroups(source.get()) > 0) gallery_.catalogGrew();
        for (const auto& group : source->groups) {
            if (group->tourFlag == 0) continue;
            ++groupNumber;
            for (const auto& work : group->works) {
                if (work->showFlag == 0 || placed_.size() >= size_t(MugSpace::kMaxPlaced)) continue;
                auto link = std::make_unique<WorkWindowLink>(std::make_unique<TFormKesto>(host_, int(placed_.size()), PanelBase));
                link->entry = {source.get(), group.get(), work.get()};
                TFormKesto& window = link->kesto();
                WorkRunner& runner = window.runner();
                const WorkLocation where = Catalog::locateWork(*source, *group, *work);
                uint32_t fetched = 0;
                const bool loaded = window.openWork(where.folder, where.fileName, &fetched);
                runner.keepPlace();
                if (where.remote) work->fetchedBytes = int(std::min<uint32_t>(fetched, std::numeric_limits<int>::max()));
                window.setWindowTitle(work->title);
                gallery_.logShown(work->title);
                if (loaded && !runner.animation().characters.empty()) {
                    const std::optional<QString>& theme = runner.animation().theme;
                    window.setTitleText(theme ? *theme : QString());
                } else {
                    runner.close();
                }
                runner.listPlace().smallInList = false;
                window.setZoom(100);
                window.setTitlePlateVisible(false);
                works.push_back({groupNumber, ListLayout::scaledSize(runner.baseSize(), 100)});
                windows.push_back(link.get());
                placed_.push_back(std::move(link));
            }
        }
    }
    arranged_ = true;
    flight_.arrange(windows, works, size());
}

void TFormMUG::showProjection(const std::vector<MugSpace::Projected>& works, const QRect& earth) {
    if (earth.isEmpty()) {
        ImageEarth->hide();
    } else {
        ImageEarth->setGeometry(earth);
        ImageEarth->show();
    }
    ImageMUG->lower();
    // From the farthest to the nearest: the nearest work ends on top.
    for (size_t i = works.size(); i-- > 0;) {
        TFormKesto& window = placed_[i]->kesto();
        const MugSpace::Projected& p = works[i];
        if (KestoTitlePlate* plate = window.titlePlate()) plate->hide();
        if (!p.shown) {
            window.hide();
            if (p.behind) window.runner().switchFrameTimer(false);
            continue;
        }
        if (p.zoom != window.runner().zoomPercent() && p.zoom >= 10) placed_[i]->setZoom(p.zoom);
        window.move(p.rect.topLeft());
        if (window.isHidden()) {
            window.show();
            window.runner().switchFrameTimer(!window.runner().animation().characters.empty());
        }
        window.raise();
    }
    PanelView->raise();
    PanelCnt->setText(QStringLiteral("%1／%2").arg(flight_.visibleCount(), 2).arg(int(works.size()), 2));
}

QPushButton* TFormMUG::buttonOf(Button button) const {
    switch (button) {
    case Button::Next: return PanelNext;
    case Button::Previous: return PanelPrev;
    case Button::First: return PanelFront;
    case Button::Walk: return PanelContinue;
    default: return nullptr;
    }
}

void TFormMUG::light(Button button) {
    if (QPushButton* was = buttonOf(lit_)) colourButton(was, kDarkButton, kDarkText);
    lit_ = button;
    if (QPushButton* now = buttonOf(lit_)) colourButton(now, kLitButton, kLitText);
}

void TFormMUG::showRunning(bool running) {
    ImageRun->setVisible(!running);
    PanelRun->setText(running ? QStringLiteral("■") : QString());
    colourButton(PanelRun, running ? 0xFFFFFF : kDarkButton, 0);
    gallery_.showPaletteRunning(running);
}

void TFormMUG::showTourButton(bool touring) {
    PanelTour->setText(touring ? QStringLiteral("巡■") : QStringLiteral("巡回"));
    colourButton(PanelTour, touring ? kLitButton : kDarkButton, touring ? kLitText : kDarkText);
}

void TFormMUG::makeCurrent(PaletteWindow& window) {
    TFormKesto& kesto = static_cast<WorkWindowLink&>(window).kesto();
    kesto.runner().setInteractionCountdown(kInteraction);
    gallery_.followSpaceWindow(kesto);
}

void TFormMUG::announceRun(PaletteWindow& window) { gallery_.announceRunOn(static_cast<WorkWindowLink&>(window).kesto()); }

WorkWindowLink* TFormMUG::linkOf(const WorkRunner& runner) const {
    for (const auto& link : placed_)
        if (&link->runner() == &runner) return link.get();
    return nullptr;
}

WorkWindowLink* TFormMUG::linkOf(const TFormKesto& window) const {
    for (const auto& link : placed_)
        if (&link->kesto() == &window) return link.get();
    return nullptr;
}

void TFormMUG::TimerMugTimer() {
    if (!arranged_) {
        arrange();
        return;
    }
    flight_.tick();
}

bool TFormMUG::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == EditView && type == QEvent::KeyPress) {
        // The keypad's keys steer as the main keyboard's do.
        const auto* key = static_cast<QKeyEvent*>(event);
        int dx = 0, dy = 0, dz = 0;
        switch (key->key()) {
        case Qt::Key_Left: dx = -1; break;
        case Qt::Key_Right: dx = 1; break;
        case Qt::Key_Up: dy = -1; break;
        case Qt::Key_Down: dy = 1; break;
        case Qt::Key_5:
        case Qt::Key_Plus: dz = 1; break;
        case Qt::Key_Minus: dz = -1; break;
        default: return QWidget::eventFilter(watched, event);
        }
        flight_.accelerate(dx, dy, dz);
        PanelView->raise();
        return true;
    }
    // Taken before the button sees it, so the double click does not also count as a click.
    if ((watched == PanelReduce || watched == PanelIncrease) && type == QEvent::MouseButtonDblClick) {
        flight_.setVisible(watched == PanelReduce ? MugSpace::kStartVisible : flight_.placedCount());
        return true;
    }
    if ((watched == PanelGallery || watched == ImageEarth) && type == QEvent::MouseButtonRelease) {
        if (watched == PanelGallery) closeGallery();
        else flight_.last();
        return true;
    }
    if (watched == PanelView) {
        const auto at = [event] { return static_cast<QMouseEvent*>(event)->globalPosition().toPoint(); };
        if (type == QEvent::MouseButtonPress) {
            dragX_ = at().x(), dragY_ = at().y();
            return true;
        }
        if (type == QEvent::MouseMove && dragX_ >= 0) {
            PanelView->move(PanelView->pos() + QPoint(at().x() - dragX_, at().y() - dragY_));
            dragX_ = at().x(), dragY_ = at().y();
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            dragX_ = dragY_ = -1;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
