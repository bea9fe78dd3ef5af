// The game pad of a work window (`PanelGameCtrl`): arrow, undo, next and previous buttons and the
// key field `EditGame`, whose keys become the window's pending game key.
#pragma once

#include <QLineEdit>
#include <QWidget>

#include <functional>

class QLabel;

class KestoGamePad : public QWidget {
public:
    explicit KestoGamePad(QWidget* parent = nullptr);

    QLineEdit* editGame() const { return EditGame; }
    // The button of a game key code (37-40, 107, 109, 8); nullptr for another code.
    QLabel* button(int gameKey) const;

    // A button was pressed or a key typed into `EditGame`: the pending game key (already mapped).
    std::function<void(int)> onGameKey;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* EditGame = nullptr;
    QLabel* PanelUndo = nullptr;
    QLabel* PanelMvLeft = nullptr;
    QLabel* PanelMvRgt = nullptr;
    QLabel* PanelMvUp = nullptr;
    QLabel* PanelMvDown = nullptr;
    QLabel* PanelNext = nullptr;
    QLabel* PanelPrev = nullptr;
};
