// An up-down control of the palette: two small arrow buttons that step a whole number within a
// range; the value is shown by a panel beside it, not by the control.
#pragma once

#include <QWidget>

#include <functional>

class QToolButton;

class UpDownControl : public QWidget {
public:
    // A control for min..max in steps of `step`, starting at `start`; `horizontal` puts the arrows
    // side by side ("◀" "▶"), else one above the other ("▲" "▼").
    UpDownControl(int min, int max, int step, int start, QWidget* parent, bool horizontal = false);

    int position() const { return position_; }
    // Sets the position; a value outside the range is ignored. onChanged hears a change.
    void setPosition(int value);
    // One click on the up (+1) or down (-1) arrow.
    void stepBy(int direction) { setPosition(position_ + direction * step_); }

    std::function<void(int)> onChanged;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int min_, max_, step_, position_;
    bool horizontal_;
    QToolButton* up_;
    QToolButton* down_;
};
