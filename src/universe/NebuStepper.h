// An up-down of the tree window's left band: an arrow up above an arrow down, repeating while
// held. One with a range keeps a value (the line height "星間") and moves it by one a step;
// one without only reports its steps (the row step, "銀河").
#pragma once

#include <QWidget>

#include <functional>

class QToolButton;

class NebuStepper : public QWidget {
    Q_OBJECT
public:
    // `tip` is the hint of the control and its arrows.
    NebuStepper(const QString& tip, QWidget* parent);

    // Keeps a value in min..max (`value` clamped into it); steps then move it by one and are
    // reported only when it changed. O(1).
    void setRange(int min, int max, int value);
    int value() const { return value_; }

    // One press of an arrow: +1 up, -1 down. O(1) plus what onStep does.
    void step(int direction);
    QToolButton* upArrow() const { return up_; }
    QToolButton* downArrow() const { return down_; }

    // Hears every step that took effect (with a range: after the value moved).
    std::function<void(int direction)> onStep;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    bool ranged_ = false;
    int min_ = 0, max_ = 0, value_ = 0;
};
