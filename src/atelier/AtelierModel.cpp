#include "AtelierModel.h"

#include <algorithm>

bool AtelierModel::countDown(bool workRunning) {
    if (stopCountdown_ <= 0) return false;
    --stopCountdown_;
    return stopCountdown_ == 0 && !workRunning;
}

MenuRowLook AtelierModel::menuRow(int row, bool running, bool pressed) const {
    MenuRowLook look;
    switch (row) {
    case CmdLayout: look = {QStringLiteral("レイアウト"), 0x80FFFF}; break;
    case CmdNew: look = {QStringLiteral("新規作成"), 0x80FF80}; break;
    case CmdLoad: look.label = QStringLiteral("acmd読込み"); break;
    case CmdSaveAs: look.label = QStringLiteral("acmd 保存"); break;
    case CmdOverwrite:
        look.label = QStringLiteral("acmd上書き");
        if (changedMark_) look.background = 0x80;
        break;
    case CmdConvert: look.label = japaneseForm_ ? QStringLiteral("標準形変換") : QStringLiteral("日本語変換"); break;
    case CmdRevert: look.label = QStringLiteral("原文に戻す"); break;
    case CmdBoard: look.label = board_ == BlackBoard ? QStringLiteral("白板に変更") : QStringLiteral("黒板に変更"); break;
    case CmdFontUp: look = {QStringLiteral("フォント＋"), 0xFFA0E0}; break;
    case CmdFontDown: look = {QStringLiteral("フォント－"), 0xFFA0E0}; break;
    case CmdApply: look = {QStringLiteral("acmd適用"), 0xFF00}; break;
    case CmdRun:
        look = running ? MenuRowLook{QStringLiteral("acmd中断"), 0xFFFFFF, 0xFF}
                       : MenuRowLook{QStringLiteral("acmd実行"), 0xFFFF00};
        break;
    case CmdWorkshop: look = {QStringLiteral("工作室"), 0x40FFFF}; break;
    case CmdHelp: look = {QStringLiteral("ヘルプ"), 0x40FFFF}; break;
    default: break;
    }
    if (pressed) look = {look.label, 0xFFFFFF, 0xF00000};
    return look;
}

QRect dockedPlace(QSize area, int workRight, int paletteBottom) {
    int left = workRight + 20;
    int width = area.width() - left - 20;
    if (width < 960) {
        width = std::min(area.width() - 40, 960);
        left = area.width() - width - 20;
    }
    const int top = paletteBottom + 20;
    return {left, top, width, std::max(0, area.height() - top - 20)};
}

QRect floatingPlace(QSize screen) {
    const int width = screen.width() <= 1040 ? screen.width() - 80 : 960;
    int height = screen.height() - 40;
    if (height > 780) height = 720;
    return {screen.width() - width - 40, screen.height() - height - 40, width, height};
}

AtelierPanels innerPlace(QSize size, int menuWidth, int valuesWidth) {
    AtelierPanels p;
    const int valuesLeft = size.width() - valuesWidth - 20;
    const int editorWidth = std::max(100, std::min(size.width() - menuWidth - valuesWidth - 80, 1120));
    const int editorLeft = valuesLeft - 40 - editorWidth;
    const int referenceHeight = std::max((size.height() - 80) / 3, 220);
    const int editorTop = 60;
    const int editorHeight = std::max(60, size.height() - editorTop - referenceHeight - 32);
    p.editor = {editorLeft, editorTop, editorWidth, editorHeight};
    p.reference = {editorLeft, editorTop + editorHeight + 12, valuesLeft + valuesWidth - editorLeft, referenceHeight};
    p.values = {valuesLeft, editorTop, valuesWidth, editorHeight};
    return p;
}

PanelsShown nextLayout(PanelsShown now) {
    if (now.values) return {false, now.reference};
    if (now.reference) return {false, false};
    return {true, true};
}

AtelierPanels cycledPlace(QSize size, const AtelierPanels& now, PanelsShown shown) {
    AtelierPanels p = now;
    const int left = now.editor.left();
    const int top = now.editor.top();
    int right = size.width() - 10; // right end of the editor and the reference
    if (shown.values) {
        p.values.moveLeft(size.width() - 20 - p.values.width());
        p.values.setTop(top);
        p.values.setBottom(size.height() - 10 - 1);
        right = p.values.left() - 10;
    }
    int editorBottom = size.height() - 10;
    if (shown.reference) {
        const int referenceRight = size.width() - 10;
        p.reference = QRect(left, size.height() - 10 - now.reference.height(), referenceRight - left, now.reference.height());
        editorBottom = p.reference.top() - 10;
    }
    p.editor = QRect(left, top, std::max(100, right - left), std::max(60, editorBottom - top));
    return p;
}
