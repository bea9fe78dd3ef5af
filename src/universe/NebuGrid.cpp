#include "NebuGrid.h"

#include "NodeText.h"

#include "common/ProgramFont.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

const QColor kRowNumber(176, 192, 208);
const QColor kConnector(128, 224, 192);
const QColor kGalaxy(255, 255, 0);
const QColor kUnreadableGalaxy(255, 128, 96); // its folder could not be listed: its totals are low
const QColor kStar(255, 255, 255);
const QColor kDetail(192, 192, 192);
const QColor kExtension(128, 255, 128);
const QColor kCurrent(0, 255, 208);
const QColor kMarked(255, 255, 255);
const QColor kMarkedCurrent(144, 255, 128);
constexpr int kSprinkleWidth = 800; // one background star per this many pixels of a row

QFont gridFont(int zoom) {
    QFont font;
    QStringList families{QStringLiteral("Noto Sans Mono CJK JP")};
    families += programFontFamilies(QStringLiteral("ＭＳ ゴシック"));
    font.setFamilies(families);
    font.setPointSize(qMax(1, 9 * zoom / 100));
    return font;
}

} // namespace

NebuGrid::NebuGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("sgNebu"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setFont(gridFont(look.zoom));
}

void NebuGrid::setModel(NebuLayout* layout, NebuCursor* cursor) {
    layout_ = layout;
    cursor_ = cursor;
    refresh();
}

int NebuGrid::rowHeight() const { return qMax(2, look.lineHeight * look.zoom / 100); }
int NebuGrid::columnZeroWidth() const { return 48 * look.zoom / 100; }
int NebuGrid::visibleRows() const { return qMax(1, viewport()->height() / rowHeight()); }

void NebuGrid::refresh() {
    viewport()->setFont(gridFont(look.zoom));
    if (layout_ && cursor_) {
        cursor_->setVisibleRows(visibleRows());
        syncing_ = true;
        verticalScrollBar()->setRange(0, qMax(0, layout_->rowCount() - visibleRows()));
        verticalScrollBar()->setPageStep(visibleRows());
        verticalScrollBar()->setValue(cursor_->topRow());
        syncing_ = false;
    }
    viewport()->update();
}

void NebuGrid::scrollContentsBy(int dx, int) {
    if (dx != 0) {
        horizontalOffset = -100 * horizontalScrollBar()->value();
        viewport()->update();
    }
    if (syncing_ || !cursor_) return;
    cursor_->setTopRow(verticalScrollBar()->value());
    viewport()->update();
}

void NebuGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (layout_) layout_->sprinkle(viewport()->width() - columnZeroWidth());
    refresh();
}

void NebuGrid::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int h = rowHeight();
    if (!layout_ || !cursor_) {
        p.fillRect(viewport()->rect(), QColor(0, 0, 64));
        return;
    }
    int y = 0;
    for (int r = cursor_->topRow(); r < layout_->rowCount() && y < viewport()->height(); ++r, y += h) paintRow(p, r, y, h);
    if (y < viewport()->height()) p.fillRect(0, y, viewport()->width(), viewport()->height() - y, QColor(0, 0, 48));
}

int NebuGrid::drawNode(QPainter& p, fileInfo* node, int x, int y, int height, QColor background) {
    const TreeView& view = layout_->view;
    const bool galaxyShort = view.starsShown && look.viewFlags == 0;
    const bool cut = view.starsPerRow >= 2 || look.viewFlags != 0;
    const QString text = nameText(*node, galaxyShort, cut, look.formatOptions, look.nameLength, false);
    const QFontMetrics fm = p.fontMetrics();
    const int width = fm.horizontalAdvance(text);
    const bool current = node == cursor_->current();
    const bool marked = node->marks & MarkMarked;
    if (current || marked) {
        const int z = look.zoom;
        const QColor box = marked ? (current ? kMarkedCurrent : kMarked) : kCurrent;
        const int pad = height * 2 / 18;
        p.fillRect(x - 4 * z / 100, y + pad, width + 7 * z / 100, height - 2 * pad, box);
    }
    const QColor colour = (current || marked)          ? background
                          : (node->marks & MarkUnreadable) ? kUnreadableGalaxy
                          : node->isGalaxy()               ? kGalaxy
                                                           : kStar;
    const int base = y + (height + fm.ascent() - fm.descent()) / 2;
    const qsizetype dot = (look.formatOptions & FormatExtension) && !node->isGalaxy() ? text.lastIndexOf(u'.') : -1;
    p.setPen(colour);
    if (dot > 0 && !current && !marked) {
        p.drawText(x, base, text.left(dot));
        p.setPen(kExtension);
        p.drawText(x + fm.horizontalAdvance(text.left(dot)), base, text.mid(dot));
    } else {
        p.drawText(x, base, text);
    }
    node->drawLeft = x - horizontalOffset;
    node->drawRight = x + width - horizontalOffset;
    widestRight_ = qMax(widestRight_, node->drawRight);
    return x + width;
}

void NebuGrid::paintRow(QPainter& p, int gridRow, int y, int h) {
    const int rows = layout_->rowCount();
    const int z = look.zoom;
    const QColor background(0, 0, 80 - 32 * gridRow / qMax(1, rows));
    const int left0 = columnZeroWidth();
    const int width = viewport()->width();
    p.fillRect(0, y, width, h, background);
    const QFontMetrics fm = p.fontMetrics();
    const int base = y + (h + fm.ascent() - fm.descent()) / 2;
    auto rowNumber = [&] {
        p.fillRect(0, y, left0, h, background);
        p.setPen(kRowNumber);
        const int number = layout_->upsideDown ? rows - gridRow : gridRow + 1;
        p.drawText(5 * z / 100, base, QStringLiteral("%1 ").arg(number, 6, 10, QChar(u'0')));
    };

    // The background stars of the row, from the fixed table.
    const QFont font = p.font();
    QFont starFont = font;
    const auto& sprinkles = layout_->sprinkles();
    for (int j = width / kSprinkleWidth - 1; j >= 0; --j) {
        const NebuSprinkle& s = sprinkles[static_cast<std::size_t>((10 * j + gridRow) % 200)];
        starFont.setPointSize(qMax(1, s.size * z / 100));
        p.setFont(starFont);
        p.setPen(QColor(s.grey, s.grey, 0));
        p.drawText(left0 + s.x * z / 100, base, QStringLiteral("★"));
    }
    p.setFont(font);

    const int x0 = left0 + horizontalOffset;
    const int row = layout_->modelRow(gridRow);
    fileInfo* first = layout_->firstOfRow(row);
    if (!first) return;
    const int sw = fm.horizontalAdvance(u' ');
    if (row == 0) {
        const int end = drawNode(p, first, x0 + 15 * z / 100, y, h, background);
        if (look.viewFlags) {
            p.setPen(kDetail);
            p.drawText(end + sw, base, detailText(*first, look.viewFlags, look.formatOptions));
        }
        rowNumber();
        return;
    }

    const int top = layout_->tree().topGalaxy->depth;
    const int indent = look.indent;
    auto levelX = [&](int depth) { return x0 + ((depth - top - 1) * indent + 8) * sw; };
    const int d = first->depth;
    const int cx = levelX(d);
    const int mid = y + h / 2;
    p.setPen(kConnector);
    for (const fileInfo* a = first->parent; a && a->depth > top; a = a->parent)
        if (a->marks & MarkChainSibling) p.drawLine(levelX(a->depth), y, levelX(a->depth), y + h - 1);
    if (layout_->ownLineThrough(row)) p.drawLine(cx, y, cx, y + h - 1);
    else if (layout_->upsideDown) p.drawLine(cx, mid, cx, y + h - 1);
    else p.drawLine(cx, y, cx, mid);
    p.drawLine(cx, mid, cx + 8 * z / 100, mid);

    const int gap = ((look.formatOptions & FormatExtension) ? 8 : 6) * sw;
    int x = cx + 10 * z / 100;
    for (fileInfo* n = first; n; n = layout_->nextInRow(n)) {
        const int end = drawNode(p, n, x, y, h, background);
        int next = qMax(end, x + look.nameLength * sw);
        if (look.viewFlags) {
            const QString details = detailText(*n, look.viewFlags, look.formatOptions);
            p.setPen(kDetail);
            p.drawText(next + gap, base, details);
            next += gap + fm.horizontalAdvance(details);
        }
        // A galaxy whose children follow: a link from its name down to their connector.
        fileInfo* after = n->nextShown;
        if (n->isGalaxy() && after && after->parent == n && after->row >= 0) {
            const int childX = levelX(d + 1);
            if (end < childX) {
                p.setPen(kConnector);
                p.drawLine(end + 2, mid, childX, mid);
                p.drawLine(childX, mid, childX, layout_->upsideDown ? y : y + h - 1);
            }
        }
        x = next + gap;
    }
    rowNumber(); // on top of a tree shifted left
}

void NebuGrid::hideHorizontalBand() {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setValue(0);
    horizontalOffset = 0;
    widestRight_ = 0;
}

void NebuGrid::followCurrent() {
    if (!layout_ || !cursor_) return;
    const int width = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    if (!horizontalBandShown() && widestRight_ + horizontalOffset > width - 30) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        cursor_->setVisibleRows(visibleRows()); // the band takes rows away
    }
    if (horizontalBandShown()) bar->setRange(0, qMax(bar->value(), (widestRight_ - width + 30 + 99) / 100));
    const fileInfo* n = cursor_->current();
    if (!n || n->row < 0) return;
    if (n->drawLeft < 20 - horizontalOffset) {
        bar->setValue(0);
        horizontalOffset = 0; // also undoes a shift by the "." key
        viewport()->update();
    } else if (n->drawRight > width - horizontalOffset - 10 && horizontalBandShown()) {
        bar->setRange(0, qMax(bar->maximum(), bar->value() + 1));
        bar->setValue(bar->value() + 1);
    }
}

fileInfo* NebuGrid::hitTest(QPoint point, bool selectRow) {
    if (!layout_ || !cursor_) return nullptr;
    const int gridRow = cursor_->topRow() + qMax(0, point.y()) / rowHeight();
    if (gridRow >= layout_->rowCount()) return nullptr;
    fileInfo* first = layout_->firstOfRow(layout_->modelRow(gridRow));
    fileInfo* hit = first;
    const int x = point.x() - horizontalOffset;
    for (fileInfo* n = first; n; n = layout_->nextInRow(n))
        if (x >= n->drawLeft && x <= n->drawRight) hit = n;
    if (selectRow) cursor_->setCell(gridRow, hit->column);
    return hit;
}

void NebuGrid::mousePressEvent(QMouseEvent* event) {
    setFocus();
    fileInfo* before = cursor_ ? cursor_->current() : nullptr;
    fileInfo* hit = hitTest(event->position().toPoint(), true);
    if (!hit) return;
    if (event->modifiers() & Qt::ControlModifier) {
        hit->marks ^= MarkMarked;
    } else if ((event->modifiers() & Qt::ShiftModifier) && before) {
        // Every node of the display chain between the two, both ends included.
        const bool forward = before->shownIndex <= hit->shownIndex;
        fileInfo* from = forward ? before : hit;
        fileInfo* to = forward ? hit : before;
        for (fileInfo* n = from; n && n != layout_->tree().bottom(); n = n->nextShown) {
            n->marks ^= MarkMarked;
            if (n == to) break;
        }
    }
    viewport()->update();
    if (onCursorMoved) onCursorMoved();
}

void NebuGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    fileInfo* hit = hitTest(event->position().toPoint(), true);
    if (!hit) return;
    const treeInfo& tree = layout_->tree();
    if (!hit->isGalaxy() || (tree.searchDepth > 5 && cursor_->path().size() <= 3)) {
        hit->marks ^= MarkMarked;
        cursor_->key(NebuKey::Down);
    } else if (onRescanFrom) {
        onRescanFrom(hit);
        return;
    }
    viewport()->update();
    if (onCursorMoved) onCursorMoved();
}

void NebuGrid::wheelEvent(QWheelEvent* event) {
    if (!cursor_) return;
    const int steps = event->angleDelta().y() / 40;
    cursor_->setTopRow(cursor_->topRow() - steps);
    refresh();
}

void NebuGrid::keyPressEvent(QKeyEvent* event) {
    if (onKey) onKey(event);
}
