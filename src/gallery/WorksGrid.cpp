#include "WorksGrid.h"

#include "BgrColor.h"
#include "common/ProgramFont.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
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

void WorksGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space)
        emit rowReleased(currentRow_);
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit runRequested();
    else
        QWidget::keyPressEvent(event);
}
