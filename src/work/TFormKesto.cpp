#include "TFormKesto.h"

#include "anime/AnimeCanvas.h"
#include "common/Fetch.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

TFormKesto::TFormKesto(KestoHost& host, int workNumber, QWidget* parent)
    : QWidget(parent), host_(host), runner_(std::make_unique<WorkRunner>(host, workNumber)) {
    resize(800, 400);
    setToolTip(QStringLiteral("　マクロコマンドの実行　"));
    TimerProg.setTimerType(Qt::PreciseTimer);
    TimerKesto.setTimerType(Qt::PreciseTimer);
    connect(&TimerProg, &QTimer::timeout, this, &TFormKesto::TimerProgTimer);
    connect(&TimerKesto, &QTimer::timeout, this, &TFormKesto::TimerKestoTimer);
    runner_->onTimersChanged = [this] { syncTimers(); };
    runner_->onFrameDrawn = [this] { update(); };
    syncTimers();
}

TFormKesto::~TFormKesto() {
    TimerProg.stop();
    TimerKesto.stop();
    runner_->onTimersChanged = nullptr;
}

bool TFormKesto::openWork(const QString& folder, const QString& fileName) {
    const bool loaded = isHttpLocation(folder) ? runner_->loadProgramUrl(folder, fileName) > 0
                                               : runner_->loadProgramFile(folder, fileName) == 0;
    if (!loaded || runner_->interpreter().statements.empty()) return false;
    const AnimeView& view = runner_->view();
    const int frame = runner_->animation().frameWidth;
    resize(view.displayWidth + 2 * frame, view.displayHeight + 2 * frame);
    setWindowTitle(runner_->caption());
    runner_->show();
    show();
    return true;
}

void TFormKesto::syncTimers() {
    TimerKesto.setInterval(WorkRunner::kFrameTimerInterval);
    if (TimerProg.interval() != runner_->programInterval()) TimerProg.setInterval(runner_->programInterval());
    if (runner_->programTimerOn() != TimerProg.isActive()) runner_->programTimerOn() ? TimerProg.start() : TimerProg.stop();
    if (runner_->frameTimerOn() != TimerKesto.isActive()) runner_->frameTimerOn() ? TimerKesto.start() : TimerKesto.stop();
}

void TFormKesto::TimerProgTimer() { runner_->programTick(); }

void TFormKesto::TimerKestoTimer() { runner_->frameTick(); }

void TFormKesto::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int frame = std::clamp(runner_->animation().frameWidth, 0, std::min(width(), height()) / 4);
    painter.fillRect(rect(), QColor(rgbOfColor(runner_->animation().frameColor)));
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    painter.drawImage(inside, runner_->view().picture);
}

void TFormKesto::mousePressEvent(QMouseEvent* event) {
    // The whole picture stands in for the run image until the corner panels exist.
    if (event->button() == Qt::LeftButton) runner_->toggleRun();
}

void TFormKesto::closeEvent(QCloseEvent* event) {
    runner_->close();
    event->accept();
}
