#include "KestoGamePad.h"

#include "KestoGeometry.h"
#include "common/ProgramFont.h"
#include "common/RunMark.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

KestoGamePad::KestoGamePad(QWidget* parent) : QWidget(parent) {
    resize(kesto::kGamePadSide, kesto::kGamePadSide);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(kRunMarkBack));
    setPalette(colours);
    // Three columns and rows of 32-pixel buttons 12 apart: the arrows around "戻", "－" and "+"
    // in the top corners and the key field in the bottom left corner.
    const struct { QLabel** panel; const char16_t* text; int column, row; } buttons[] = {
        {&PanelMvUp, u"↑", 1, 0},   {&PanelMvLeft, u"←", 0, 1}, {&PanelUndo, u"戻", 1, 1},
        {&PanelMvRgt, u"→", 2, 1}, {&PanelMvDown, u"↓", 1, 2}, {&PanelPrev, u"－", 0, 0},
        {&PanelNext, u"+", 2, 0}};
    for (const auto& b : buttons) {
        auto* label = new QLabel(QString::fromUtf16(b.text), this);
        label->setGeometry(4 + 44 * b.column, 4 + 44 * b.row, 32, 32);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 18, true));
        label->setStyleSheet(QStringLiteral("background:#004000;color:#00ff00;"));
        label->installEventFilter(this);
        *b.panel = label;
    }
    EditGame = new QLineEdit(this);
    EditGame->setGeometry(4, 4 + 44 * 2 + 6, 32, 20);
    EditGame->installEventFilter(this);
}

QLabel* KestoGamePad::button(GameKey gameKey) const {
    switch (gameKey) {
    case GameKey::Left: return PanelMvLeft;
    case GameKey::Up: return PanelMvUp;
    case GameKey::Right: return PanelMvRgt;
    case GameKey::Down: return PanelMvDown;
    case GameKey::NextStage: return PanelNext;
    case GameKey::PreviousStage: return PanelPrev;
    case GameKey::Undo: return PanelUndo;
    default: return nullptr;
    }
}

void KestoGamePad::mousePressEvent(QMouseEvent* event) {
    raise();
    QWidget::mousePressEvent(event);
}

bool KestoGamePad::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditGame && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const GameKey code = kesto::virtualKeyOfQtKey(key->key(), key->modifiers().testFlag(Qt::KeypadModifier));
        if (code != GameKey::None && onGameKey) onGameKey(kesto::gameKeyOfVirtualKey(code));
        EditGame->clear();
        return true; // the field only takes keys; it shows nothing
    }
    if (event->type() == QEvent::MouseButtonPress && watched != EditGame) {
        raise();
        for (GameKey code : {GameKey::Left, GameKey::Up, GameKey::Right, GameKey::Down, GameKey::NextStage,
                             GameKey::PreviousStage, GameKey::Undo})
            if (watched == button(code)) {
                if (onGameKey) onGameKey(code);
                EditGame->setFocus();
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}
