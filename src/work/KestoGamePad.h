// The game pad of a work window (`PanelGameCtrl`): arrow, undo, next and previous buttons and the
// key field `EditGame`, whose keys become the window's pending game key.
#pragma once

#include "anime/GameKey.h"

#include <QLineEdit>
#include <QWidget>

#include <functional>

class QLabel;

class KestoGamePad : public QWidget {
public:
    explicit KestoGamePad(QWidget* parent = nullptr);

    QLineEdit* editGame() const { return EditGame; }
    // The button of a game key (the arrows, NextStage, PreviousStage, Undo); nullptr for another.
    QLabel* button(GameKey gameKey) const;

    // A button was pressed or a key typed into `EditGame`: the pending game key (already mapped).
    std::function<void(GameKey)> onGameKey;

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
