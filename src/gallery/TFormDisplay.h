// The display form "展示中": the gallery's announcement board, a large text over a checkered
// curtain, shown over the gallery, a work window or the desktop and slid away by the gallery timer.
#pragma once

#include "DisplayBoard.h"

#include <QImage>
#include <QWidget>

class TFormDisplay : public QWidget {
    Q_OBJECT
public:
    // The board belongs to `gallery` (not owned; it must outlive the board) and starts hidden on it.
    // The gallery holds it in a std::unique_ptr: over the desktop the board is a window of its
    // own, so its Qt parent cannot be relied on to free it.
    explicit TFormDisplay(QWidget* gallery);

    // Sets the announcement text and, when textSize > 0, its size in pixels.
    void setMessage(const QString& text, int textSize = 0);

    // Moves the board onto a work window, the gallery, or the desktop (nullptr). Hides it.
    void setHost(QWidget* host);

    // Shows the board placed by its host: over the gallery or the desktop near the gallery's
    // top left, half-transparent over the whole of a work window. Cost: one repaint.
    void showBoard();

    // One gallery tick (30 ms): moves the board up 16 pixels while it is in sight (true); once
    // out of sight it is hidden and returned to the gallery (false).
    bool slideTick();

    const DisplayBoard& board() const { return board_; }
    QWidget* host() const { return host_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* gallery_; // non-owning
    QWidget* host_;    // non-owning; nullptr on the desktop
    DisplayBoard board_;
    QImage curtain_;
};
