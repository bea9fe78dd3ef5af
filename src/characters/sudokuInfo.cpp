#include "sudokuInfo.h"

#include "BoardGrid.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <algorithm>

namespace {

constexpr double kCursorSpeed = 400; // tenths of a pixel per frame
constexpr int kMaxBoxSide = 1000;
constexpr uint32_t kCellColor = 0xC0E0E0;
constexpr uint32_t kBlinkColor = 0xFFFFFF;
constexpr uint32_t kWrongColor = 0x00FFFF;
constexpr uint32_t kGivenText = 0x0000FF;
constexpr uint32_t kUserText = 0xFF0000;
constexpr int kBlinkPeriod = 8, kBlinkOn = 2; // drawings: the highlight shows white 2 of every 8
constexpr int kBoxGap = 2;                    // pixels between boxes

MoveOutcome outcomeOf(SudokuBoard::Change change) {
    switch (change) {
    case SudokuBoard::Change::Refused: return MoveOutcome::Refused;
    case SudokuBoard::Change::Changed: return MoveOutcome::Moved;
    case SudokuBoard::Change::Full: return MoveOutcome::AllCleared;
    }
    return MoveOutcome::Refused;
}

} // namespace

sudokuInfo::sudokuInfo(AnimeInfo& self, const BoardDeclaration& d, int boxColumns, int boxRows)
    : BoardGame(self), board_(d.wid, d.hei, d.digitMaps(u'9', 0)), boxColumns_(std::max(boxColumns, 1)),
      boxRows_(std::max(boxRows, 1)) {
    cellWidth_ = self.zoomX;
    cellHeight_ = self.zoomY;
}

int sudokuInfo::kindCode() const { return Kind::Sudoku; }

double sudokuInfo::cellX(int cell) const {
    return double(cell % board_.columns()) * self().zoomX * 10 + self().X;
}

double sudokuInfo::cellY(int cell) const {
    return double(board_.rows() - cell / board_.columns() - 1) * self().zoomY * 10 + self().Y;
}

void sudokuInfo::target(AnimeInfo& player, int cell, std::optional<double> speed) const {
    player.gotoX = cellX(cell);
    player.gotoY = cellY(cell);
    if (speed) player.speed = *speed;
}

int sudokuInfo::clickColumn(int x) const { return cellOf(x - drawnLeft_, cellWidth_); }
int sudokuInfo::clickRow(int y) const { return cellOf(y - drawnTop_, cellHeight_); }

void sudokuInfo::playerLinked(int) {
    board_.solve();
    filling_ = -1;
}

void sudokuInfo::announce(MoveOutcome outcome) {
    if (outcome == MoveOutcome::AllCleared) showCheck(QStringLiteral("完成しました。"), QStringLiteral("数独"), 0);
}

MoveOutcome sudokuInfo::moveByKey(GameKey key) {
    switch (int(key)) {
    case '+': case int(GameKey::NextStage): return outcomeOf(board_.increase(cursor_));
    case '-': case int(GameKey::PreviousStage): return outcomeOf(board_.decrease(cursor_));
    case int(GameKey::Enter): case int(GameKey::Space): return outcomeOf(board_.press(cursor_));
    default: break;
    }
    const auto direction = BoardGrid::directionOfKey(key);
    if (!direction) return MoveOutcome::Refused;
    const int column = std::clamp(playerColumn() + BoardGrid::dx(*direction), 0, board_.columns() - 1);
    const int row = std::clamp(playerRow() + BoardGrid::dy(*direction), 0, board_.rows() - 1);
    const int moved = row * board_.columns() + column;
    if (moved == cursor_) return MoveOutcome::Refused;
    cursor_ = moved;
    return MoveOutcome::Moved;
}

void sudokuInfo::demonstrationStep() {
    AnimeInfo* p = player();
    if (!p || p->gotoX != kNoTarget || p->gotoY != kNoTarget) return; // still on its way
    if (filling_ >= 0) board_.fill(filling_);
    filling_ = -1;
    // The nearest empty cell that the solution fills; a puzzle without solution has none.
    double nearest = 0;
    for (int cell = 0; cell < SudokuBoard::kCells; ++cell) {
        if (board_.at(cell) != 0 || board_.solution(cell) == 0) continue;
        const double dx = cellX(cell) - p->X, dy = cellY(cell) - p->Y, d = dx * dx + dy * dy;
        if (filling_ < 0 || d < nearest) filling_ = cell, nearest = d;
    }
    if (filling_ >= 0) {
        target(*p, filling_, std::nullopt); // at the player's own speed
        return;
    }
    p->gotoX = self().X + board_.columns() * self().zoomX * 5;
    p->gotoY = self().Y + board_.rows() * self().zoomY * 5;
    p->chaseMode = GameMode::Idle;
}

void sudokuInfo::stepPlayer(AnimeInfo& player) {
    if (!board_.plays()) return;
    int& mode = player.chaseMode;
    if (mode == GameMode::Waiting) {
        const AnimeHost* host = self().state ? self().state->host : nullptr;
        if (!host || !host->gamePadVisible()) return;
        mode = GameMode::UserPlay;
        cursor_ = 0;
        target(player, cursor_, kCursorSpeed);
        return;
    }
    if (mode == GameMode::Demonstration && &player == this->player()) demonstrationStep();
    if (mode != GameMode::UserPlay) return;
    if (const auto click = takeClick()) {
        const int column = clickColumn(click->first), row = clickRow(click->second);
        if (column >= 0 && row >= 0 && column < board_.columns() && row < board_.rows()) {
            cursor_ = row * board_.columns() + column;
            key(GameKey::Enter);
        }
    }
    if (const GameKey pending = takeKey(); pending != GameKey::None) announce(moveByKey(pending));
    target(player, cursor_, kCursorSpeed);
}

bool sudokuInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const int64_t cw = std::max<int64_t>(int64_t(self.zoomX) * std::max(at.dotZoom, 1), 1);
    const int64_t ch = std::max<int64_t>(int64_t(self.zoomY) * std::max(at.dotZoomY, 1), 1);
    const int64_t x = at.screenLeft, y = at.screenTop;
    drawnLeft_ = x;
    drawnTop_ = y;
    cellWidth_ = int(cw);
    cellHeight_ = int(ch);
    ++drawings_;
    const int points = int(std::clamp<int64_t>(cw / 2, 1, 2000));
    const bool blinkOn = drawings_ % kBlinkPeriod < kBlinkOn;
    const int64_t firstRow = std::max<int64_t>(0, -y / ch), lastRow = std::min<int64_t>(board_.rows() - 1, (canvas.height() - y) / ch);
    const int64_t firstColumn = std::max<int64_t>(0, -x / cw);
    const int64_t lastColumn = std::min<int64_t>(board_.columns() - 1, (canvas.width() - x) / cw);
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const int cell = int(r * board_.columns() + c);
            const int digit = board_.at(cell);
            const bool asGiven = board_.given(cell) == digit; // givens, and empty cells
            const uint32_t background = asGiven ? (digit == board_.highlighted() && blinkOn ? kBlinkColor : kCellColor)
                                                : (board_.markedWrong(cell) ? kWrongColor : kCellColor);
            const int64_t left = x + c * cw, top = y + r * ch;
            const int64_t width = cw - 1 - (c % boxColumns_ == boxColumns_ - 1 ? kBoxGap : 0);
            const int64_t height = ch - 1 - (r % boxRows_ == boxRows_ - 1 ? kBoxGap : 0);
            canvas.fillRect(left, top, width, height, background);
            if (digit == 0) continue;
            // The digit stands in the middle of its cell whatever the cell's size.
            const QString text = QString::number(digit);
            const QSize size = canvas.textSize(text, points);
            canvas.drawText(left + (width - size.width()) / 2, top + (height - size.height()) / 2, text, points,
                            asGiven ? kGivenText : kUserText);
        }
    return true;
}

std::optional<QString> readSudoku(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    BoardDeclaration d;
    if (auto faulty = readBoardPlace(fields, input, kMaxBoxSide, d)) return faulty;
    const int64_t columns = int64_t(d.wid) * d.wid, rows = int64_t(d.hei) * d.hei;
    if (!state.reservePixels(columns * rows)) return QStringLiteral("hei");
    BoardDeclaration cells = d;
    cells.wid = int(columns);
    cells.hei = int(rows);
    readBoardRows(input, cells.hei, cells.wid, cells);
    AnimeInfo& c = createBoardCharacter(state, d, cells.wid, cells.hei);
    c.kind = std::make_unique<sudokuInfo>(c, cells, d.wid, d.hei);
    return std::nullopt;
}

QString sudokuInfo::rowText(int row) const {
    QString text;
    for (int c = 0; c < board_.columns(); ++c) {
        const int v = board_.at(row * board_.columns() + c);
        text += v >= 1 && v <= 9 ? QChar(u'0' + v) : QChar(u'.');
    }
    return text;
}
