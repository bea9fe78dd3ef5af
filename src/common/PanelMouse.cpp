#include "PanelMouse.h"

#include "PanelDrag.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPumpInterval = std::chrono::milliseconds(50);

bool isGatedInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Lets input through only to the panel while a loop pumps, and notes a press on it.
class PanelInputGate : public QObject {
  public:
    explicit PanelInputGate(QWidget* panel) : panel_(panel) {}
    bool pressed = false;

  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Close && event->spontaneous()) {
            event->ignore(); // windows stay open until the loop ends
            return true;
        }
        if (!isGatedInput(type)) return false;
        auto* widget = qobject_cast<QWidget*>(target);
        if (!widget) return type == QEvent::Shortcut; // window-level events reach the widgets later
        const bool onPanel = panel_ && (widget == panel_ || panel_->isAncestorOf(widget));
        if (!onPanel) return true;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) pressed = true;
        return false;
    }

  private:
    QPointer<QWidget> panel_;
};

} // namespace

bool pumpPanelMouse(QWidget* panel) {
    static Clock::time_point last;
    const Clock::time_point now = Clock::now();
    if (now - last < kPumpInterval) return false;
    last = now;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    PanelInputGate gate(panel);
    app->installEventFilter(&gate);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&gate);
    return gate.pressed;
}

void dragPanel(int x, int y, int& previousX, int& previousY, QWidget* control) {
    if (!control) return;
    const DragStep step = dragStep(x, y, previousX, previousY, control->geometry());
    static const Qt::CursorShape shapes[] = {Qt::SizeHorCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
                                             Qt::SizeAllCursor};
    control->setCursor(shapes[static_cast<int>(step.mode)]);
    if (step.geometry != control->geometry()) control->setGeometry(step.geometry);
    previousX = step.previousX;
    previousY = step.previousY;
}
