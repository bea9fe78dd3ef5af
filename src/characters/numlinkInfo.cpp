#include "numlinkInfo.h"

#include "anime/AnimeCanvas.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <algorithm>

namespace {

// Colours by a value's last digit; 9 has its own, so that pair 9 is seen.
constexpr uint32_t kDigitColours[10] = {0xFFF0F0, 0xFF0000, 0x2020FF, 0xFF00FF, 0x00FF00,
                                        0xFFFF00, 0x00FFFF, 0xFFFFFF, 0x408080, 0x0080FF};
constexpr uint32_t kBoardColour = 0x202020;
constexpr uint32_t kNumberBackground = 0x383838;
constexpr uint32_t kBlinkBackground = 0xFFFFFF;
constexpr uint32_t kStatusColour = 0x008000;
constexpr uint32_t kStatusBackground = 0xE0E0E0;
constexpr int kStatusPoints = 16;
constexpr int kPen = 7; // the width of a path's line in pixels

} // namespace

numlinkInfo::numlinkInfo(AnimeInfo& self, const BoardDeclaration& d)
    : BoardGame(self), board_(d.wid, d.hei, d.digitMaps(u'9', 0), d.stages, d.start - 1) {
    self.frameCount = d.stages;
    drawnLeft_ = int64_t(self.X * 0.1);
    cellWidth_ = std::max(self.zoomX, 1);
    cellHeight_ = std::max(self.zoomY, 1);
}

int numlinkInfo::kindCode() const { return Kind::NumLink; }

uint32_t numlinkInfo::colourOfDigit(int digit) { return kDigitColours[std::clamp(digit, 0, 9)]; }

int numlinkInfo::clickColumn(int x) const {
    const int c = cellOf(x - drawnLeft_ - cellWidth_ / 5, cellWidth_);
    return c < board_.grid().width() ? c : -1;
}

int numlinkInfo::clickRow(int y) const {
    const int r = cellOf(y - drawnTop_ - cellHeight_ / 5, cellHeight_);
    return r < board_.grid().height() ? r : -1;
}

QString numlinkInfo::rowText(int row) const {
    // Numbers as digits, path cells as the letter of their colour ('a' for 1), empty as '.'.
    QString text;
    for (int c = 0; c < board_.grid().width(); ++c) {
        const int v = board_.at(c, row);
        text += v == 0 ? QChar(u'.') : NumLinkBoard::isNumber(v) ? QChar(u'0' + v) : QChar(u'a' + v % 10 - 1);
    }
    return text;
}

void numlinkInfo::playerLinked(int modeDigit) {
    search_.reset();
    if (modeDigit == GameMode::Demonstration) {
        allDone_ = false;
        demo_ = Demo::Delay;
        return;
    }
    demo_ = Demo::Idle;
    // Every mode but the demonstration offers the game pad; linking in mode 2 already did.
    AnimeHost* host = self().state ? self().state->host : nullptr;
    if (host && modeDigit != GameMode::Waiting) host->showGamePad();
}

void numlinkInfo::userPlayStarts() {
    // Play starts on a fresh map: a demonstration's paths (or its end after the last map) do
    // not count for the user.
    search_.reset();
    demo_ = Demo::Idle;
    board_.loadStage(allDone_ ? 0 : board_.currentStage());
    allDone_ = false;
    if (board_.pairCount() > 0 && board_.pair(1).first >= 0) board_.setCursor(board_.pair(1).first);
}

void numlinkInfo::announce(MoveOutcome outcome) {
    if (outcome != MoveOutcome::StageCleared && outcome != MoveOutcome::AllCleared) return;
    // The board has moved on: its current stage, 0-based, is the cleared one's 1-based number.
    const bool all = outcome == MoveOutcome::AllCleared;
    showCheck(all ? QStringLiteral("全てのマップがリンクされました。") : QStringLiteral("次のマップに移動します。"),
              QStringLiteral("第%1マップの数字はリンクされました！").arg(all ? board_.stageCount() : board_.currentStage()),
              0);
}

void numlinkInfo::stepPlayer(AnimeInfo& player) {
    int& mode = player.chaseMode;
    if (mode == GameMode::Waiting) {
        const AnimeHost* host = self().state ? self().state->host : nullptr;
        if (!host || !host->gamePadVisible()) return;
        mode = GameMode::UserPlay;
        userPlayStarts();
        placeSprite(player, playerColumn(), playerRow());
        return;
    }
    if (mode == GameMode::UserPlay) play(player);
    else BoardGame::stepPlayer(player);
}

void numlinkInfo::play(AnimeInfo& player) {
    // The map's message runs a loop of its own in which frames go on; they must not complete
    // the map again, nor another one behind the message's back.
    if (checkNesting() == 0) {
        const MoveOutcome completed = board_.complete();
        if (completed != MoveOutcome::Refused) announce(completed);
    }
    const QPoint held(std::exchange(dragX_, -1), std::exchange(dragY_, -1));
    const auto taken = takeClick();
    QPoint click = taken ? QPoint(taken->first, taken->second) : QPoint(-1, -1);
    if (held.x() >= 0 && board_.drawing()) {
        const int column = clickColumn(held.x()), row = clickRow(held.y());
        const int cell = board_.grid().cellAt(column, row);
        if (cell >= 0 && cell != board_.cursor()) click = held;
    }
    GameKey key = takeKey();
    if (click.x() >= 0) {
        const int cell = board_.grid().cellAt(clickColumn(click.x()), clickRow(click.y()));
        if (cell >= 0) {
            board_.setCursor(cell);
            key = GameKey::Enter;
        }
    }
    if (key != GameKey::None) moveByKey(key);
    board_.allLinked(); // the status line's count of linked cells
    placeSprite(player, playerColumn(), playerRow());
}

void numlinkInfo::startStage(int stage) {
    search_.reset();
    if (stage >= board_.stageCount()) {
        allDone_ = true;
        demo_ = Demo::Idle;
        return;
    }
    board_.loadStage(stage);
    // Large boards would make each step's tests too slow to watch: the demonstration does not
    // run on them, nor on a map without pairs.
    if (!NumLinkSearch::fits(board_)) {
        demo_ = Demo::Stopped;
        return;
    }
    search_ = std::make_unique<NumLinkSearch>(board_);
    board_.setCursor(search_->head());
    demo_ = Demo::Search;
}

void numlinkInfo::demonstrationStep() {
    switch (demo_) {
    case Demo::Idle:
    case Demo::Stopped: return;
    case Demo::Delay: demo_ = Demo::Start; return;
    case Demo::Start: startStage(board_.currentStage()); return;
    case Demo::Search: {
        const NumLinkSearch::Result result = search_->step();
        board_.setCursor(search_->head());
        if (result == NumLinkSearch::Result::GaveUp) demo_ = Demo::Stopped;
        else if (result == NumLinkSearch::Result::Solved) demo_ = Demo::ToLastEnd;
        return;
    }
    case Demo::ToLastEnd:
        board_.setCursor(0);
        demo_ = Demo::ToCorner;
        return;
    case Demo::ToCorner: startStage(board_.currentStage() + 1); return;
    }
}

QString numlinkInfo::statusLine() const {
    if (allDone_) return QString::asprintf("%3d ／%d 面 ", board_.stageCount(), board_.stageCount());
    const int counter = board_.linkedCells() > 0 || !search_ ? board_.linkedCells() : search_->depth();
    return QString::asprintf("%3d ／%d 面 %5d ", board_.currentStage() + 1, board_.stageCount(), counter);
}

bool numlinkInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const BoardGrid& grid = board_.grid();
    const int zoom = std::max(at.dotZoom, 1), zoomY = std::max(at.dotZoomY, 1);
    const int cw = std::max(self.zoomX * zoom, 1), ch = std::max(self.zoomY * zoomY, 1);
    const int64_t x = at.screenLeft, y = at.screenTop;
    drawnLeft_ = x;
    drawnTop_ = y;
    cellWidth_ = cw;
    cellHeight_ = ch;
    ++frameCounter_;
    canvas.fillRect(x - cw / 4, y - ch / 4, int64_t(grid.width()) * cw + cw / 2, int64_t(grid.height()) * ch + ch / 2,
                    kBoardColour);
    // Only the cells that fall on the picture are drawn, so a huge board costs what shows.
    const int64_t firstColumn = std::max<int64_t>(0, -x / cw), firstRow = std::max<int64_t>(0, -y / ch);
    const int64_t lastColumn = std::min<int64_t>(grid.width() - 1, (canvas.width() - x) / cw);
    const int64_t lastRow = std::min<int64_t>(grid.height() - 1, (canvas.height() - y) / ch);
    const bool blink = board_.drawing() && frameCounter_ % 8 < 2;
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const int v = board_.at(int(c), int(r));
            if (!NumLinkBoard::isNumber(v)) continue;
            const int64_t left = x + c * cw, top = y + r * ch;
            canvas.fillRect(left, top, cw - 1, ch - 1,
                            blink && v == board_.selected() ? kBlinkBackground : kNumberBackground);
            if (cw / 2 > 0) canvas.drawText(left + 12, top + 5, QString(QChar(u'0' + v)), cw / 2, colourOfDigit(v));
        }
    // Paths that have faded in are lines from each cell's centre toward its neighbours of the
    // same colour: a whole cell toward a path, part of one toward a number, so paths end at
    // their numbers' digits.
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const int cell = grid.cellAt(int(c), int(r));
            if (board_.at(cell) <= NumLinkBoard::kLine) continue;
            const int colour = board_.colour(cell);
            const uint32_t rgb = colourOfDigit(colour);
            const int64_t cx = x + c * cw + cw / 2, cy = y + r * ch + ch / 2;
            for (int d = 0; d < BoardGrid::kDirections; ++d) {
                const int n = grid.neighbour(cell, d);
                if (n < 0 || board_.at(n) == 0 || board_.colour(n) != colour) continue;
                const bool toNumber = NumLinkBoard::isNumber(board_.at(n));
                const int dx = BoardGrid::dx(d), dy = BoardGrid::dy(d);
                const int64_t length = dx != 0 ? (toNumber ? cw * 2 / 3 : cw) : (toNumber ? ch / 2 : ch);
                const int64_t ex = cx + dx * length, ey = cy + dy * length;
                canvas.fillRect(std::min(cx, ex) - kPen / 2, std::min(cy, ey) - kPen / 2,
                                std::abs(ex - cx) + kPen, std::abs(ey - cy) + kPen, rgb);
            }
        }
    board_.fadeIn();
    // The line stands a cell above the board; this system's Japanese type may be taller, so it
    // is raised until it ends above the board's frame.
    const QString status = statusLine();
    const int statusHeight = canvas.textSize(status, kStatusPoints).height();
    canvas.drawText(x, y - std::max<int64_t>(ch, statusHeight + ch / 4), status, kStatusPoints, kStatusColour,
                    kStatusBackground);
    return true;
}

std::optional<QString> readNumLink(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    return readBoardCharacter(state, input, params,
                              [](AnimeInfo& self, const BoardDeclaration& d) -> std::unique_ptr<AnimeKind> {
                                  return std::make_unique<numlinkInfo>(self, d);
                              });
}
