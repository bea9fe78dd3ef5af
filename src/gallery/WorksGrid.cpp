#include "WorksGrid.h"

#include "BgrColor.h"
#include "common/ProgramFont.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <numeric>

WorksGrid::WorksGrid(const WorksList& list, QWidget* parent) : QWidget(parent), list_(list) {
    setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 13, true));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QStringLiteral(" 展示作品の選択　"));
}

void WorksGrid::setRowHeights(std::vector<int> heights) {
    heights_ = std::move(heights);
    resize(width(), std::accumulate(heights_.begin(), heights_.end(), 0));
    update();
}

void WorksGrid::setCurrentRow(int row) {
    currentRow_ = row;
    update();
}

void WorksGrid::setRunning(bool running) {
    running_ = running;
    update();
}

int WorksGrid::rowAt(int y) const {
    int top = 0;
    for (size_t row = 0; row < heights_.size(); ++row) {
        top += heights_[row];
        if (y < top) return static_cast<int>(row);
    }
    return -1;
}

QRect WorksGrid::rowRect(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= heights_.size() || heights_[static_cast<size_t>(row)] == 0) return {};
    const int top = std::accumulate(heights_.begin(), heights_.begin() + row, 0);
    return QRect(0, top, width(), heights_[static_cast<size_t>(row)]);
}

QPoint WorksGrid::runButtonPlace() const {
    const QRect r = rowRect(currentRow_);
    if (r.isEmpty() || !list_.look(currentRow_, r.size(), currentRow_, running_).runButton) return QPoint(0, -20);
    return r.topLeft() + QPoint(10, 4);
}

void WorksGrid::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setFont(font());
    int top = 0;
    for (size_t i = 0; i < heights_.size(); ++i) {
        const int h = heights_[i];
        const QRect r(0, top, width(), h);
        top += h;
        if (!r.intersects(event->rect())) continue;
        const int row = static_cast<int>(i);
        const WorksList::RowLook l = list_.look(row, r.size(), currentRow_, running_);
        if (!l.drawn) continue;
        p.fillRect(r, QColor(bgrToRgb(l.background)));
        p.setPen(QColor(bgrToRgb(l.textColour)));
        p.drawText(r.adjusted(l.textLeft, l.textTop, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, l.text);
        for (size_t k = 0; k < l.treeLines.size(); ++k) {
            // the group-to-work line is the last two; only its vertical part lightens on the current row
            const bool light = l.currentWorkLine && k + 2 == l.treeLines.size();
            p.setPen(QColor(bgrToRgb(light ? 0xF0C0C0 : 0x800000)));
            p.drawLine(l.treeLines[k].translated(r.topLeft()));
        }
        if (l.struckThrough) {
            p.setPen(QColor(bgrToRgb(0xC0)));
            p.drawLine(l.strike.translated(r.topLeft()));
        }
        if (l.framed) {
            p.setPen(QColor(bgrToRgb(0xFFFF00)));
            p.drawRect(r.adjusted(1, 1, -2, -2));
        }
    }
}

void WorksGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    if (row < 0) return;
    currentRow_ = row;
    update();
    emit rowReleased(row);
}

void WorksGrid::mouseMoveEvent(QMouseEvent* event) {
    setToolTip(list_.hint(rowAt(event->position().toPoint().y())));
}

int WorksGrid::shownRowFrom(int row, int steps) const {
    // Folded rows (height 0) are passed over; the walk stops at the last shown row either way.
    const int direction = steps < 0 ? -1 : 1;
    int reached = row;
    for (int r = row + direction, left = std::abs(steps); left > 0 && r >= 0 && r < int(heights_.size()); r += direction)
        if (heights_[size_t(r)] > 0) {
            reached = r;
            --left;
        }
    return reached;
}

int WorksGrid::rowsPerPage(int direction) const {
    const int page = parentWidget() ? parentWidget()->height() : height();
    int rows = 0, used = 0;
    for (int r = std::max(currentRow_, 0); r >= 0 && r < int(heights_.size()) && used + heights_[size_t(r)] <= page;
         r += direction)
        if (heights_[size_t(r)] > 0) {
            used += heights_[size_t(r)];
            ++rows;
        }
    return direction * std::max(rows - 1, 1);
}

void WorksGrid::keyPressEvent(QKeyEvent* event) {
    const int rows = int(heights_.size());
    int to = -1;
    switch (event->key()) {
    case Qt::Key_Space: emit rowReleased(currentRow_); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit runRequested(); return;
    case Qt::Key_Up: to = shownRowFrom(currentRow_, -1); break;
    case Qt::Key_Down: to = shownRowFrom(currentRow_, 1); break;
    case Qt::Key_PageUp: to = shownRowFrom(currentRow_, rowsPerPage(-1)); break;
    case Qt::Key_PageDown: to = shownRowFrom(currentRow_, rowsPerPage(1)); break;
    case Qt::Key_Home: to = shownRowFrom(-1, 1); break;
    case Qt::Key_End: to = shownRowFrom(rows, -1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (to < 0 || to >= rows || to == currentRow_) return;
    setCurrentRow(to);
    emit rowMoved(to);
}
