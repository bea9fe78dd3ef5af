#include "NebuKeyTable.h"

NebuKeyAction nebuKeyAction(int key, Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool keypad = modifiers & Qt::KeypadModifier;
    const int step = shift ? -1 : 1;
    using C = NebuCommand;
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) return {C::ScanDrive, key - Qt::Key_A};
    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9) return {C::SearchDepth, key - Qt::Key_0};
    if (keypad) {
        switch (key) {
        case Qt::Key_1: return {C::Bottom};
        case Qt::Key_3: return {C::PageDown};
        case Qt::Key_7: return {C::Top};
        case Qt::Key_9: return {C::PageUp};
        default: break;
        }
    }
    const int arrowModifiers = (shift ? ModShift : 0) | (ctrl ? ModCtrl : 0);
    switch (key) {
    case Qt::Key_Space: return {C::ToggleMark};
    case Qt::Key_A: return {C::FlipAttributes};
    case Qt::Key_B: return {C::Bottom};
    case Qt::Key_C: return {C::Copy};
    case Qt::Key_D: return {C::TimeFlag};
    case Qt::Key_F: return {C::StarsToggle};
    case Qt::Key_I: return {C::IndentStep, step};
    case Qt::Key_J: return {C::TopGalaxy, shift ? 1 : 0};
    case Qt::Key_L: return {C::NameLengthStep, step};
    case Qt::Key_O: return {shift ? C::SaveConstellation : C::LoadConstellation};
    case Qt::Key_Q: return {C::Quit};
    case Qt::Key_R: return {C::UpsideDown};
    case Qt::Key_S: return {C::SortChooser};
    case Qt::Key_T: return {C::Top};
    case Qt::Key_U: return {C::Parent};
    case Qt::Key_V: return {C::SizeFlag};
    case Qt::Key_W: return {C::StarsPerRowStep, step};
    case Qt::Key_X: return {C::SearchFromGalaxy};
    case Qt::Key_Y: return {C::CloneView};
    case Qt::Key_Z: return {C::ZoomStep, step};
    case Qt::Key_Plus: return {C::DeeperDisplay};
    case Qt::Key_Minus: return {C::ShallowerDisplay};
    case Qt::Key_Comma: return {C::ShiftRight};
    case Qt::Key_Period: return {C::ShiftLeft};
    // The at-sign key of a Japanese keyboard; the same key position elsewhere gives "`".
    case Qt::Key_At:
    case Qt::Key_QuoteLeft: return {C::DriveList, 0, false};
    case Qt::Key_Backslash:
    case Qt::Key_yen: return {C::RescanParent};
    case Qt::Key_Left: return {C::Left, arrowModifiers};
    case Qt::Key_Right: return {C::Right, arrowModifiers};
    case Qt::Key_Up: return {C::Up, arrowModifiers};
    case Qt::Key_Down: return {C::Down, arrowModifiers};
    // The grid's own keys for the same moves.
    case Qt::Key_Home: return {C::Top};
    case Qt::Key_End: return {C::Bottom};
    case Qt::Key_PageUp: return {C::PageUp};
    case Qt::Key_PageDown: return {C::PageDown};
    default: return {};
    }
}

std::optional<PlayedKey> takePlayedKey(QString& text) {
    if (text.isEmpty()) return std::nullopt;
    PlayedKey played;
    qsizetype i = 0;
    for (; i + 1 < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u's') played.modifiers |= Qt::ShiftModifier;
        else if (c == u'c') played.modifiers |= Qt::ControlModifier;
        else if (c == u'a') played.modifiers |= Qt::AltModifier;
        else break;
    }
    played.character = text[i];
    text.remove(0, i + 1);
    return played;
}

NebuKeyAction playedKeyAction(const PlayedKey& key) {
    if (key.character == u'd') return {NebuCommand::ScrollSpeed, 1};
    if (key.character == u'u') return {NebuCommand::ScrollSpeed, -1};
    return nebuKeyAction(nebuKeyOfChar(key.character), key.modifiers);
}

std::optional<CursorStroke> cursorKeyOf(const NebuKeyAction& action) {
    using C = NebuCommand;
    switch (action.command) {
    case C::Left: return CursorStroke{NebuKey::Left, action.argument};
    case C::Right: return CursorStroke{NebuKey::Right, action.argument};
    case C::Up: return CursorStroke{NebuKey::Up, action.argument};
    case C::Down: return CursorStroke{NebuKey::Down, action.argument};
    case C::Top: return CursorStroke{NebuKey::Top};
    case C::Bottom: return CursorStroke{NebuKey::Bottom};
    case C::PageUp: return CursorStroke{NebuKey::PageUp};
    case C::PageDown: return CursorStroke{NebuKey::PageDown};
    case C::Parent: return CursorStroke{NebuKey::Parent};
    case C::DeeperDisplay: return CursorStroke{NebuKey::DeeperDisplay};
    case C::ShallowerDisplay: return CursorStroke{NebuKey::ShallowerDisplay};
    case C::StarsToggle: return CursorStroke{NebuKey::StarsToggle};
    case C::UpsideDown: return CursorStroke{NebuKey::UpsideDown};
    case C::ScrollSpeed: return CursorStroke{action.argument > 0 ? NebuKey::FasterDown : NebuKey::FasterUp};
    default: return std::nullopt;
    }
}

int nebuKeyOfChar(QChar c) {
    if (c == u'¥') return Qt::Key_Backslash;
    return c.toUpper().unicode();
}

QString driveOfLetter(const QStringList& driveRoots, int letter) {
    if (letter < 0 || letter >= driveRoots.size()) return {};
    return driveRoots[letter];
}
