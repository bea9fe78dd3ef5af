#include "soukobanInfo.h"

#include "anime/AnimeCanvas.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kWallColor = 0x404048;
constexpr uint32_t kBacktrackColor = 0x808080;
constexpr uint32_t kPlayerColor = 0xFF0000;
constexpr uint32_t kBoxColor = 0x00FFFF;
constexpr uint32_t kGoalColor = 0x00C0C0;
constexpr uint32_t kStatusColor = 0x000000;
constexpr uint32_t kStatusBackground = 0xFFFFFF;
constexpr int kStatusPoints = 16;


} // namespace

soukobanInfo::soukobanInfo(AnimeInfo& self, const BoardDeclaration& d)
    : BoardGame(self), board_(d.wid, d.hei, d.digitMaps(u'4', int8_t(SoukobanBoard::Floor)), d.stages, d.start - 1) {
    drawnLeft_ = int64_t(std::floor(self.X * 0.1));
    cellWidth_ = self.zoomX;
    cellHeight_ = self.zoomY;
}

int soukobanInfo::kindCode() const { return Kind::Soukoban; }

int soukobanInfo::playerColumn() const { return std::max(board_.playerCell(), 0) % board_.width(); }
int soukobanInfo::playerRow() const { return std::max(board_.playerCell(), 0) / board_.width(); }

int soukobanInfo::clickColumn(int x) const {
    return std::clamp(cellOf(x - drawnLeft_, cellWidth_), 0, board_.width() - 1);
}

int soukobanInfo::clickRow(int y) const {
    return std::clamp(cellOf(y - drawnTop_, cellHeight_), 0, board_.height() - 1);
}

void soukobanInfo::playerLinked(int modeDigit) {
    if (modeDigit != GameMode::Demonstration && modeDigit != GameMode::Waiting) return;
    board_.loadStage();
    startsOnStage_ = 0;
    demo_ = modeDigit == GameMode::Demonstration ? Demo::Start : Demo::Idle;
}

void soukobanInfo::userPlayStarts() {
    // Play starts on the first stage's map; the stage number goes with it, so that the status
    // line and the stage messages name the stage on the board.
    demo_ = Demo::Idle;
    board_.goToStage(0);
}

void soukobanInfo::announce(MoveOutcome outcome) {
    if (outcome != MoveOutcome::StageCleared && outcome != MoveOutcome::AllCleared) return;
    // The board has moved on: its current stage, 0-based, is the cleared one's 1-based number.
    showCheck(outcome == MoveOutcome::AllCleared ? QStringLiteral("全ての倉庫が片付きました。")
                                                 : QStringLiteral("次の倉庫に移動します。"),
              QStringLiteral("第%1倉庫は片付きました！").arg(board_.currentStage()), 0);
}

void soukobanInfo::startSolver() {
    // The search's own plans may have left the room past saving, so the solver starts over from
    // the stage's beginning.
    search_.reset();
    board_.loadStage();
    solver_ = std::make_unique<SoukobanSolver>(board_);
    demo_ = Demo::Solve;
}

void soukobanInfo::demonstrationStep() {
    switch (demo_) {
    case Demo::Idle: return;
    case Demo::Start:
        solver_.reset();
        searchDepth_ = 0;
        // Each search normally ends in a box on a goal; more searches than that mean the plans
        // undo each other, and the solver takes over.
        if (++startsOnStage_ > 2 * int(board_.goals().size()) + 2) {
            startSolver();
            return;
        }
        search_ = std::make_unique<SoukobanSearch>(board_);
        demo_ = Demo::Search;
        return;
    case Demo::Search: {
        const SoukobanSearch::Result result = search_->step();
        searchDepth_ = search_->depth();
        if (result == SoukobanSearch::Result::Planned) {
            plan_ = search_->plan();
            nextPush_ = 0;
            demo_ = Demo::Plan;
        } else if (result == SoukobanSearch::Result::Cleared) {
            startsOnStage_ = 0;
            demo_ = board_.allDone() ? Demo::Idle : Demo::Start;
        } else if (result == SoukobanSearch::Result::GaveUp) {
            startSolver();
        }
        return;
    }
    case Demo::Solve: {
        const auto result = solver_->run();
        searchDepth_ = solver_->depth();
        if (result == SoukobanSolver::Result::Solved) {
            plan_ = solver_->plan();
            nextPush_ = 0;
            demo_ = Demo::Plan;
        } else if (result == SoukobanSolver::Result::Failed) {
            demo_ = Demo::Idle; // gives up; the board stays
        }
        return;
    }
    case Demo::Plan: {
        if (nextPush_ >= plan_.size()) {
            demo_ = board_.emptyGoals() == 0 ? Demo::NextStage : Demo::Start;
            return;
        }
        const SoukobanSolver::Push push = plan_[nextPush_];
        const int behind = board_.neighbour(push.box, BoardGrid::reverse(push.direction));
        if (!SoukobanSolver::walk(board_, behind, walk_)) {
            demo_ = Demo::Idle;
            return;
        }
        walk_.push_back(push.direction);
        walkAt_ = 0;
        demo_ = Demo::Walk;
        return;
    }
    case Demo::Walk:
        if (walkAt_ >= walk_.size() || !board_.walkStep(walk_[walkAt_++])) {
            demo_ = Demo::Idle; // the board no longer matches the plan
            return;
        }
        if (walkAt_ >= walk_.size()) {
            ++nextPush_;
            demo_ = Demo::Plan;
        }
        return;
    case Demo::NextStage:
        board_.goToStage(board_.currentStage() + 1);
        startsOnStage_ = 0;
        demo_ = board_.allDone() ? Demo::Idle : Demo::Start;
        return;
    }
}

bool soukobanInfo::backtracking() const { return demo_ == Demo::Search && search_ && search_->backtracked(); }

QString soukobanInfo::rowText(int row) const {
    QString text;
    for (int c = 0; c < board_.width(); ++c) text += QChar(u'0' + board_.at(c, row));
    return text;
}

QString soukobanInfo::statusLine() const {
    if (board_.currentStage() >= board_.stageCount())
        return QString::asprintf("%3d ／%d 面 ", board_.stageCount(), board_.stageCount());
    const int counter = board_.moveCount() > 0 || demo_ == Demo::Idle ? board_.moveCount() : searchDepth_;
    return QString::asprintf("%3d ／%d 面 %5d ", board_.currentStage() + 1, board_.stageCount(), counter);
}

bool soukobanInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const int zoom = std::max(at.dotZoom, 1);
    const int cw = std::max(self.zoomX * zoom, 1), ch = std::max(self.zoomY * zoom, 1);
    drawnLeft_ = at.screenLeft;
    drawnTop_ = at.screenTop;
    cellWidth_ = cw;
    cellHeight_ = ch;
    // Only the cells that fall on the picture are drawn, so a huge board costs what shows.
    const int64_t firstColumn = std::max<int64_t>(0, -at.screenLeft / cw);
    const int64_t firstRow = std::max<int64_t>(0, -at.screenTop / ch);
    const int64_t lastColumn = std::min<int64_t>(board_.width() - 1, (canvas.width() - at.screenLeft) / cw);
    const int64_t lastRow = std::min<int64_t>(board_.height() - 1, (canvas.height() - at.screenTop) / ch);
    const int glyphPoints = cw / 2;
    // Once every stage is done the sprite rests in the middle, so the mark would stand alone.
    const bool showMark = !board_.allDone() && (board_.moveCount() == 0 || demo_ == Demo::Idle);
    const uint32_t floorColor = backtracking() ? kBacktrackColor : at.background;
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const int64_t left = at.screenLeft + c * cw, top = at.screenTop + r * ch;
            const int v = board_.at(int(c), int(r));
            canvas.fillRect(left, top, cw, ch, v == SoukobanBoard::Wall ? kWallColor : floorColor);
            const auto glyph = [&](const QString& text, uint32_t color) {
                if (glyphPoints > 0) canvas.drawText(left + 10, top + 4, text, glyphPoints, color);
            };
            if (v == SoukobanBoard::Goal) glyph(QStringLiteral("・"), kGoalColor);
            else if (v == SoukobanBoard::Box) glyph(QStringLiteral("■"), kBoxColor);
            else if (v == SoukobanBoard::Player && showMark) glyph(QStringLiteral("◎"), kPlayerColor);
        }
    // The line stands 15 pixels above the board in a type about 21 pixels high; this system's
    // Japanese type is taller, so the line is raised until it ends at the board's top and
    // neither covers the other.
    const QString status = statusLine();
    const int statusHeight = canvas.textSize(status, kStatusPoints).height();
    canvas.drawText(at.screenLeft - 10, at.screenTop - std::max(15, statusHeight), status, kStatusPoints,
                    kStatusColor, kStatusBackground);
    return true;
}

std::optional<QString> readSoukoban(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    return readBoardCharacter(state, input, params,
                              [](AnimeInfo& self, const BoardDeclaration& d) -> std::unique_ptr<AnimeKind> {
                                  return std::make_unique<soukobanInfo>(self, d);
                              });
}
