// The tree grid `sgNebu` of the tree window: a custom-painted scroll area of two columns (row
// numbers, the tree) on a dark-blue star-sprinkled background. It paints only the rows in view,
// taking each row's nodes from the layout's row table, and turns mouse presses into cursor
// moves; keys go to its owner.
#pragma once

#include "NebuCursor.h"
#include "NebuLayout.h"

#include <QAbstractScrollArea>
#include <functional>

// How the tree is drawn (the window's settings that need only a repaint).
struct NebuLook {
    int indent = 24;      // space widths per level
    int nameLength = 24;  // star name width in half-width columns
    int zoom = 100;       // percent
    int lineHeight = 18;  // pixels at zoom 100
    int viewFlags = 0;    // ViewFlag bits
    int formatOptions = 0;
};

class NebuGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit NebuGrid(QWidget* parent);

    // The model shown (not owned; both null while there is none). Cost: a repaint.
    void setModel(NebuLayout* layout, NebuCursor* cursor);
    NebuLook look;

    // Applies zoom and line height, sets the scroll range from the rows and the cursor's first
    // visible row, and repaints. O(1) plus the paint of the rows in view.
    void refresh();
    // Grid rows that fit the viewport. O(1).
    int visibleRows() const;
    int rowHeight() const;
    int horizontalOffset = 0; // 0 or negative, pixels; the scroll bar sets it to -100 x its position

    // The horizontal scroll band: shown once a painted name ends within 30 pixels of the right
    // edge, hidden (offset back to 0) on a full relayout. O(1).
    bool horizontalBandShown() const { return horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn; }
    void hideHorizontalBand();
    // One timer tick of the horizontal follow: shows the band when the painted tree needs it;
    // a current node painted left of the view sends the scroll bar back to 0, one painted past
    // the right edge moves it one step right. O(1).
    void followCurrent();

    // The node under a viewport point (its row's node whose drawn span holds x, else the row's
    // first node); with `selectRow` the cursor moves there. nullptr below the last row.
    fileInfo* hitTest(QPoint point, bool selectRow);

    // Set by the owner: keys, a double click on a galaxy (rescan from it), any cursor move.
    std::function<void(QKeyEvent*)> onKey;
    std::function<void(fileInfo*)> onRescanFrom;
    std::function<void()> onCursorMoved;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void paintRow(QPainter& p, int gridRow, int y, int height);
    int drawNode(QPainter& p, fileInfo* node, int x, int y, int height, QColor background);
    int columnZeroWidth() const;

    NebuLayout* layout_ = nullptr;
    NebuCursor* cursor_ = nullptr;
    bool syncing_ = false;
    int widestRight_ = 0; // the right end of the widest name painted, without the offset
};
