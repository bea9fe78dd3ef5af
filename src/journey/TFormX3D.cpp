#include "TFormX3D.h"

#include "universe/TFormNebu.h"

#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

const QString kCaption = QStringLiteral("メタ宇宙の旅");
constexpr QSize kPanelSize{292, 214};
constexpr int kPanelFolded = 24;
constexpr int kMessageLift = 64;

// The picture the journey draws, shown as it is.
class PictureView : public QWidget {
public:
    PictureView(QWidget* parent, const QImage& image) : QWidget(parent), image_(image) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 48));
        p.drawImage(0, 0, image_);
    }

private:
    const QImage& image_;
};

QLabel* panel(QWidget* parent, const QString& text, const QString& style, const QString& tip = {}) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(style);
    l->setToolTip(tip);
    return l;
}

QString colourStyle(QColor back, QColor fore = Qt::white) {
    return QStringLiteral("background: %1; color: %2; border: 1px solid #6080a0;").arg(back.name(), fore.name());
}

QString axisStyle(AxisColour c) {
    const QColor back = c == AxisColour::Green ? QColor(0, 160, 0) : c == AxisColour::Yellow ? QColor(200, 200, 0) : QColor(200, 0, 0);
    return colourStyle(back, Qt::black);
}

// The projection centre's height: 520 in the tree window's 580 rows, in proportion in a window
// of another height (a work's canvas is often 400 high, where 520 would lie below the picture).
double centreHeight(int height) { return height >= 580 ? 520 : height * 520.0 / 580; }

} // namespace

TFormX3D* TFormX3D::journeyOf(TFormNebu& nebu) {
    for (TFormX3D* x : nebu.findChildren<TFormX3D*>(Qt::FindDirectChildrenOnly))
        return x;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* x = qobject_cast<TFormX3D*>(w); x && x->nebu_ == &nebu) return x;
    return nullptr;
}

TFormX3D* TFormX3D::openJourney(TFormNebu& nebu) {
    TFormX3D* x = journeyOf(nebu);
    if (!x) {
        x = new TFormX3D(nebu);
        x->show();
    } else {
        x->pendingSetup_ = true;
        x->show();
        x->raise();
        x->timerTick();
    }
    x->setFocus();
    return x;
}

TFormX3D::TFormX3D(TFormNebu& nebu) : QWidget(&nebu), nebu_(&nebu), journey_(std::make_unique<StarJourney>(nebu.layout())) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("TFormX3D"));
    setWindowTitle(kCaption);
    setFocusPolicy(Qt::StrongFocus);
    picture_ = QImage(qMax(64, nebu.width()), qMax(64, nebu.height()), QImage::Format_RGB32);
    picture_.fill(QColor(0, 0, 48));
    journey_->setPicture(&picture_);
    journey_->onFloatOut = [this] {
        if (!isFloating()) toggleFloat();
    };
    journey_->timer.listen([this](bool on) {
        if (!on) TimerX3D.stop();
        else if (isVisible()) TimerX3D.start();
    });
    TimerX3D.setInterval(StarJourney::kTickStart);
    connect(&TimerX3D, &QTimer::timeout, this, &TFormX3D::timerTick);
    buildControls();
    nebu.installEventFilter(this);
    nebuFiltered_ = &nebu;
    // A journey floating out lives on its own; it goes with its tree window all the same.
    connect(&nebu, &QObject::destroyed, this, [this] {
        TimerX3D.stop();
        onFinished = nullptr;
        if (isFloating()) deleteLater();
    });
    fillNebu();
}

TFormX3D::~TFormX3D() { TimerX3D.stop(); }

void TFormX3D::buildControls() {
    view_ = new PictureView(this, picture_);
    const QString band = QStringLiteral("background: rgba(0,0,40,200); color: #c0e0ff; font-size: 12px;");
    PanelStarTrek = panel(this, QString(), band);
    PanelStarTrek->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelNavi = panel(this,
                      QStringLiteral(" ←→ 4/6 左右  ↑↓ 8/2 前後  5/0 上下  1/3 前後回転  7/9 左右回転  W ワープ  V 長ワープ  M 地図  A 操縦切替"),
                      QStringLiteral("background: rgb(0,64,96); color: white; font-size: 12px;"));
    PanelNavi->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelClose = panel(this, QStringLiteral("消"), colourStyle(QColor(96, 0, 0)), QStringLiteral("操作説明を隠す"));
    const QString info = QStringLiteral("background: transparent; color: #ffff80; font-family: monospace; font-size: 13px;");
    labelInfoTop = panel(this, QString(), info);
    labelInfoTop->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labelInfoBottom = panel(this, QString(), info);
    labelInfoBottom->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QString axisNames[3] = {QStringLiteral("右"), QStringLiteral("前"), QStringLiteral("上")};
    for (int i = 0; i < 3; ++i) axis_[i] = panel(this, axisNames[i], axisStyle(AxisColour::Red));
    messageBox_ = panel(this, QString(), QStringLiteral("background: rgb(255,255,224); color: rgb(0,0,128); border: 2px solid rgb(0,96,192); font-size: 14px;"));
    messageBox_->hide();

    PanelCmd = new QWidget(this);
    PanelCmd->setStyleSheet(QStringLiteral("QWidget { background: rgb(16,32,64); color: white; font-size: 11px; }"
                                           "QPushButton { background: rgb(48,64,112); border: 1px solid #8090c0; min-width: 18px; }"));
    auto* grid = new QGridLayout(PanelCmd);
    grid->setContentsMargins(26, 4, 4, 4);
    grid->setSpacing(2);
    auto value = [this](QLabel*& label) {
        label = panel(PanelCmd, QString(), QStringLiteral("background: black; color: #80ff80; font-family: monospace;"));
        return label;
    };
    using UD = StarJourney::UpDown;
    struct Row {
        QString caption;
        QLabel** label;
        UD control;
    };
    const Row rows[] = {{QStringLiteral("4左右加速6"), &LabelMvx, UD::Mvx},
                        {QStringLiteral("8前進加速2"), &LabelMvy, UD::Ymove},
                        {QStringLiteral("5上下移動0"), &LabelMvz, UD::Zmove},
                        {QStringLiteral("1前後回転3"), &LabelXrotValue, UD::Xrotation},
                        {QStringLiteral("7左右回転9"), &LabelZrotValue, UD::Zrot}};
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(new QLabel(row.caption, PanelCmd), r, 0);
        grid->addWidget(value(*row.label), r, 1);
        for (bool up : {true, false}) {
            auto* b = new QPushButton(up ? QStringLiteral("▲") : QStringLiteral("▼"), PanelCmd);
            b->setFocusPolicy(Qt::NoFocus);
            b->setFixedWidth(24);
            connect(b, &QPushButton::clicked, this, [this, c = row.control, up] {
                journey_->upDownClick(c, up);
                showState();
                setFocus();
            });
            grid->addWidget(b, r, up ? 2 : 3);
        }
        ++r;
    }
    // The tick interval and the radar.
    grid->addWidget(new QLabel(QStringLiteral("間隔 ms"), PanelCmd), r, 0);
    grid->addWidget(value(LabelWait), r, 1);
    for (bool up : {true, false}) {
        auto* b = new QPushButton(up ? QStringLiteral("▲") : QStringLiteral("▼"), PanelCmd);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedWidth(24);
        connect(b, &QPushButton::clicked, this, [this, up] {
            journey_->setTickInterval(journey_->tickInterval() + (up ? 10 : -10));
            TimerX3D.setInterval(journey_->tickInterval());
            showState();
            setFocus();
        });
        grid->addWidget(b, r, up ? 2 : 3);
    }
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("レーダー"), PanelCmd), r, 0);
    grid->addWidget(value(LabelRadarMax), r, 1);
    for (bool up : {true, false}) {
        auto* b = new QPushButton(up ? QStringLiteral("▲") : QStringLiteral("▼"), PanelCmd);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedWidth(24);
        connect(b, &QPushButton::clicked, this, [this, up] {
            journey_->setRadar(journey_->radar() + (up ? 1 : -1));
            showState();
            setFocus();
        });
        grid->addWidget(b, r, up ? 2 : 3);
    }
    ++r;
    auto* buttons = new QHBoxLayout;
    PanelAI = panel(PanelCmd, QStringLiteral("ＡＩ"), colourStyle(QColor(0, 192, 192)), QStringLiteral(" 自動操作に切り替えます "));
    PanelWarp = panel(PanelCmd, QStringLiteral("ワープ"), colourStyle(QColor(96, 0, 128)), QStringLiteral("クリックでワープ、ダブルクリックで長距離ワープ"));
    PanelFast = panel(PanelCmd, QStringLiteral("画高速"), colourStyle(QColor(0, 64, 0)), QStringLiteral("枝線の描き方"));
    PanelFree = panel(PanelCmd, QStringLiteral("宙"), colourStyle(QColor(0, 0, 64)), QStringLiteral(" 「ＮＥＢＵ」から飛び出す "));
    bbtnClose = new QPushButton(QStringLiteral("帰還"), PanelCmd);
    bbtnClose->setFocusPolicy(Qt::NoFocus);
    for (QLabel* l : {PanelAI, PanelWarp, PanelFast, PanelFree}) {
        l->setMinimumSize(40, 22);
        l->installEventFilter(this);
        buttons->addWidget(l);
    }
    buttons->addWidget(bbtnClose);
    grid->addLayout(buttons, r, 0, 1, 4);
    PanelCtrl = panel(this, QStringLiteral("≪"), colourStyle(QColor(64, 64, 128)), QStringLiteral("操作パネルをたたむ／開く"));
    for (QLabel* l : {PanelCtrl, PanelClose}) l->installEventFilter(this);
    connect(bbtnClose, &QPushButton::clicked, this, [this] {
        journey_->closeButton();
        showState();
        setFocus();
    });
    for (QWidget* w : std::initializer_list<QWidget*>{PanelStarTrek, PanelNavi, PanelClose, labelInfoTop, labelInfoBottom, axis_[0],
                                                      axis_[1], axis_[2], messageBox_, PanelCmd, PanelCtrl})
        w->setFocusPolicy(Qt::NoFocus);
}

void TFormX3D::placeControls() {
    const int w = width(), h = height();
    view_->setGeometry(rect());
    PanelStarTrek->setGeometry(0, 0, w, 22);
    PanelNavi->setGeometry(0, 22, w - 24, 22);
    PanelClose->setGeometry(w - 24, 22, 24, 22);
    labelInfoTop->setGeometry(8, 46, qMin(w - 16, 640), 20);
    labelInfoBottom->setGeometry(8, h - 24, qMin(w - 16, 560), 20);
    for (int i = 0; i < 3; ++i) axis_[i]->setGeometry(8 + i * 34, h - 50, 30, 22);
    const QSize size = panelOpen_ ? kPanelSize : QSize(kPanelFolded, kPanelFolded);
    const int left = qBound(0, w - size.width() - 4 + panelShown_, qMax(0, w - kPanelFolded));
    PanelCmd->setGeometry(left, h - size.height() - 4, size.width(), size.height());
    PanelCmd->setVisible(panelOpen_);
    PanelCtrl->setGeometry(left, h - size.height() - 4, kPanelFolded, kPanelFolded);
    PanelCtrl->setText(panelOpen_ ? QStringLiteral("≪") : QStringLiteral("≫"));
    messageBox_->setGeometry(qMax(0, (w - 460) / 2), h - kMessageLift - 44, qMin(460, w), 44);
    PanelCtrl->raise();
}

void TFormX3D::fillNebu() {
    if (nebu_ && !isFloating()) setGeometry(QRect(QPoint(0, 0), nebu_->size()));
}

void TFormX3D::setupJourney() {
    pendingSetup_ = true;
    if (!nebu_ || !nebu_->treeReady()) return; // the tree is not scanned or read yet
    pendingSetup_ = false;
    JourneyLook look;
    look.levelWidth = nebu_->grid()->look.indent;
    look.columnWidth = nebu_->grid()->look.nameLength;
    picture_ = QImage(qMax(64, width()), qMax(64, height()), QImage::Format_RGB32);
    picture_.fill(QColor(0, 0, 48));
    journey_->setupJourney(nebu_->layout(), look, nebu_->grid()->height(), picture_.width(),
                           static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    journey_->ship.cy = centreHeight(picture_.height());
    PanelStarTrek->setText(QStringLiteral(" ") + journey_->panelText());
    lastAutopilot_ = !journey_->ship.autopilot;
    pilotChanged();
    showState();
    view_->update();
}

void TFormX3D::timerTick() {
    if (!nebu_) return;
    // A tree opened anew in the tree window replaces the nodes the journey flies through.
    if (!pendingSetup_ && journey_->layout() != &nebu_->layout()) pendingSetup_ = true;
    if (pendingSetup_) {
        setupJourney();
        if (pendingSetup_) {
            PanelStarTrek->setText(QStringLiteral(" 宇宙を探査しています..."));
            if (!TimerX3D.isActive() && isVisible()) TimerX3D.start();
            return;
        }
        if (!journey_->timer.on()) TimerX3D.stop();
    }
    journey_->tick();
    showState();
    view_->update();
    if (journey_->finished() && !done_) {
        done_ = true;
        TimerX3D.stop();
        if (onFinished) onFinished();
        close();
    }
}

void TFormX3D::showState() {
    const JourneyTexts& t = journey_->texts();
    labelInfoTop->setText(t.infoTop);
    labelInfoBottom->setText(t.infoBottom);
    // Style sheets are set only on a change: each one restyles its widget.
    auto restyle = [](QWidget* w, const QString& style) {
        if (w->styleSheet() != style) w->setStyleSheet(style);
    };
    restyle(labelInfoBottom, QStringLiteral("background: transparent; font-family: monospace; font-size: 13px; color: %1;")
                                 .arg(t.infoBottomAlternate ? QStringLiteral("#ff8080") : QStringLiteral("#ffff80")));
    for (int i = 0; i < 3; ++i) restyle(axis_[i], axisStyle(t.axis[i]));
    LabelMvx->setText(t.moveX);
    LabelMvy->setText(t.moveY);
    LabelMvz->setText(t.moveZ);
    LabelXrotValue->setText(t.pitchValue);
    LabelZrotValue->setText(t.yawValue);
    LabelRadarMax->setText(t.radarMax);
    LabelWait->setText(QString::number(journey_->tickInterval()));
    if (journey_->ship.autopilot != lastAutopilot_) pilotChanged();
    if (journey_->ship.autopilot)
        restyle(PanelAI, colourStyle(t.aiGreen ? QColor(0, 128, 0) : QColor(255, 0, 64)));
    bbtnClose->setText(journey_->restartShown() ? QStringLiteral("再出発") : QStringLiteral("帰還"));
    if (journey_->messageVisible()) {
        messageBox_->setText(journey_->messageLine(0) + u'\n' + journey_->messageLine(1));
        messageBox_->show();
        messageBox_->raise();
    } else {
        messageBox_->hide();
    }
    if (panelShown_ != journey_->panelShift()) {
        panelShown_ = journey_->panelShift();
        placeControls();
    }
}

void TFormX3D::pilotChanged() {
    lastAutopilot_ = journey_->ship.autopilot;
    if (lastAutopilot_) {
        PanelNavi->hide();
        PanelClose->hide();
        PanelAI->setStyleSheet(colourStyle(QColor(255, 0, 64)));
        PanelAI->setToolTip(QStringLiteral(" 手動操作に切り替えます "));
        setPanelOpen(false);
    } else {
        PanelNavi->show();
        PanelClose->show();
        PanelAI->setStyleSheet(colourStyle(QColor(0, 192, 192)));
        PanelAI->setToolTip(QStringLiteral(" 自動操作に切り替えます "));
        setPanelOpen(true);
    }
}

void TFormX3D::setPanelOpen(bool open) {
    panelOpen_ = open;
    placeControls();
}

void TFormX3D::toggleFloat() {
    if (!isFloating()) {
        setParent(nullptr, Qt::Window);
        const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1280, 800);
        const QSize size(qMin(screen.width() - 160, 1280), qMin(screen.height() - 120, 760));
        setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
        setWindowTitle(kCaption);
        PanelFree->setText(QStringLiteral("戻"));
        PanelFree->setStyleSheet(colourStyle(QColor(255, 0, 0)));
        PanelFree->setToolTip(QStringLiteral(" 「ＮＥＢＵ」に戻る "));
        journey_->setFloating(1);
    } else {
        setParent(nebu_, Qt::Widget);
        fillNebu();
        PanelFree->setText(QStringLiteral("宙"));
        PanelFree->setStyleSheet(colourStyle(QColor(0, 0, 64)));
        PanelFree->setToolTip(QStringLiteral(" 「ＮＥＢＵ」から飛び出す "));
        if (journey_->floating() == 1) journey_->setFloating(0);
    }
    show();
    setFocus();
}

void TFormX3D::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeControls();
    if (pendingSetup_) timerTick();
    if (journey_->timer.on() || pendingSetup_) TimerX3D.start();
}

void TFormX3D::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    TimerX3D.stop();
}

void TFormX3D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (picture_.size() != size() && width() >= 64 && height() >= 64) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(QColor(0, 0, 48));
        journey_->ship.cx = width() / 2;
        journey_->ship.cy = centreHeight(height());
    }
    placeControls();
}

void TFormX3D::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    const auto key = journeyKeyFor(event->key(), event->modifiers() & Qt::KeypadModifier, event->modifiers() & Qt::ShiftModifier);
    if (!key) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    journey_->act(*key);
    showState();
}

void TFormX3D::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    setFocus(); // clicks anywhere give the keys back to the journey
}

bool TFormX3D::eventFilter(QObject* watched, QEvent* event) {
    // Compared by address only: the tree window sends events while it is being destroyed.
    if (watched == nebuFiltered_ && event->type() == QEvent::Resize) fillNebu();
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (!press && !doubleClick) return QWidget::eventFilter(watched, event);
    if (watched == PanelAI && press) journey_->switchPilot();
    else if (watched == PanelWarp) journey_->act(doubleClick ? JourneyKey::LongWarp : JourneyKey::Warp);
    else if (watched == PanelFast && press) {
        const bool everywhere = !journey_->look().branchesEverywhere;
        journey_->setBranchesEverywhere(everywhere);
        PanelFast->setText(everywhere ? QStringLiteral("画高速") : QStringLiteral("画精細"));
    } else if (watched == PanelFree && press) toggleFloat();
    else if (watched == PanelCtrl && press) setPanelOpen(!panelOpen_);
    else if (watched == PanelClose && press) {
        PanelNavi->hide();
        PanelClose->hide();
    } else return QWidget::eventFilter(watched, event);
    showState();
    setFocus();
    return true;
}
