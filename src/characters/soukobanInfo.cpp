#include "soukobanInfo.h"

#include "anime/AnimeCanvas.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

std::vector<int8_t> mapsOf(const BoardDeclaration& d) {
    std::vector<int8_t> maps(size_t(d.wid) * size_t(d.hei) * size_t(d.stages), SoukobanBoard::Floor);
    size_t i = 0;
    for (int s = 0; s < d.stages; ++s)
        for (int r = 0; r < d.hei; ++r)
            for (int c = 0; c < d.wid; ++c, ++i) {
                const char16_t ch = d.cell(s, r, c).unicode();
                maps[i] = ch >= u'1' && ch <= u'4' ? int8_t(ch - u'0') : int8_t(SoukobanBoard::Floor);
            }
    return maps;
}

int floorDiv(int64_t a, int64_t b) { return int(a >= 0 ? a / b : -((-a + b - 1) / b)); }

} // namespace

soukobanInfo::soukobanInfo(AnimeInfo& self, const BoardDeclaration& d)
    : BoardGame(self), board_(d.wid, d.hei, mapsOf(d), d.stages, d.start - 1) {
    drawnLeft_ = int64_t(std::floor(self.X * 0.1));
    cellWidth_ = self.zoomX;
    cellHeight_ = self.zoomY;
}

int soukobanInfo::kindCode() const { return Kind::Soukoban; }

int soukobanInfo::playerColumn() const { return std::max(board_.playerCell(), 0) % board_.width(); }
int soukobanInfo::playerRow() const { return std::max(board_.playerCell(), 0) / board_.width(); }

int soukobanInfo::clickColumn(int x) const {
    return std::clamp(floorDiv(x - drawnLeft_, cellWidth_), 0, board_.width() - 1);
}

int soukobanInfo::clickRow(int y) const {
    return std::clamp(floorDiv(y - drawnTop_, cellHeight_), 0, board_.height() - 1);
}

void soukobanInfo::playerLinked(int modeDigit) {
    if (modeDigit != GameMode::Demonstration && modeDigit != GameMode::Waiting) return;
    board_.loadStage();
    demo_ = modeDigit == GameMode::Demonstration ? Demo::Start : Demo::Idle;
}

void soukobanInfo::userPlayStarts() {
    // The user starts on the stage the status line names, from its beginning; after the last
    // stage (a finished demonstration) play starts again with the first.
    demo_ = Demo::Idle;
    if (board_.allDone()) board_.goToStage(0);
    else board_.loadStage();
}

void soukobanInfo::demonstrationStep() {
    switch (demo_) {
    case Demo::Idle: return;
    case Demo::Start:
        solver_ = std::make_unique<SoukobanSolver>(board_);
        nextPush_ = 0;
        searchDepth_ = 0;
        demo_ = Demo::Search;
        return;
    case Demo::Search: {
        const auto result = solver_->run();
        searchDepth_ = solver_->depth();
        if (result == SoukobanSolver::Result::Solved) demo_ = Demo::Plan;
        else if (result == SoukobanSolver::Result::Failed) demo_ = Demo::Idle; // gives up; the board stays
        return;
    }
    case Demo::Plan: {
        const auto& plan = solver_->plan();
        if (nextPush_ >= plan.size()) {
            demo_ = board_.emptyGoals() == 0 ? Demo::NextStage : Demo::Start;
            return;
        }
        const SoukobanSolver::Push push = plan[nextPush_];
        const int behind = board_.neighbour(push.box, (push.direction + 2) % 4);
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
        if (walkAt_ >= walk_.size() || !board_.step(walk_[walkAt_++], false)) {
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
        demo_ = board_.allDone() ? Demo::Idle : Demo::Start;
        return;
    }
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
    drawnLeft_ = at.screenLeft, drawnTop_ = at.screenTop;
    cellWidth_ = cw, cellHeight_ = ch;
    QImage& picture = canvas.picture();
    if (picture.isNull()) return true;
    // Only the cells that fall on the picture are drawn, so a huge board costs what shows.
    const int64_t firstColumn = std::max<int64_t>(0, -at.screenLeft / cw);
    const int64_t firstRow = std::max<int64_t>(0, -at.screenTop / ch);
    const int64_t lastColumn = std::min<int64_t>(board_.width() - 1, (picture.width() - at.screenLeft) / cw);
    const int64_t lastRow = std::min<int64_t>(board_.height() - 1, (picture.height() - at.screenTop) / ch);

    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPixelSize(std::max(cw * 2 / 3, 1));
    painter.setFont(font);
    // Once every stage is done the sprite rests in the middle, so the mark would stand alone.
    const bool showMark = !board_.allDone() && (board_.moveCount() == 0 || demo_ == Demo::Idle);
    const QColor background = QColor::fromRgb(rgbOfColor(at.background));
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const QRect cell(int(at.screenLeft + c * cw), int(at.screenTop + r * ch), cw, ch);
            const int v = board_.at(int(c), int(r));
            painter.fillRect(cell, v == SoukobanBoard::Wall ? QColor::fromRgb(rgbOfColor(0x404048)) : background);
            QString glyph;
            uint32_t color = 0;
            switch (v) {
            case SoukobanBoard::Goal: glyph = QStringLiteral("・"), color = 0x00C0C0; break;
            case SoukobanBoard::Player:
                if (showMark) glyph = QStringLiteral("◎"), color = 0xFF0000;
                break;
            case SoukobanBoard::Box: glyph = QStringLiteral("■"), color = 0x00FFFF; break;
            default: break;
            }
            if (glyph.isEmpty()) continue;
            painter.setPen(QColor::fromRgb(rgbOfColor(color)));
            painter.drawText(cell, Qt::AlignCenter, glyph);
        }
    QFont statusFont = painter.font();
    statusFont.setPixelSize(16);
    painter.setFont(statusFont);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(int(at.screenLeft - 10), int(at.screenTop - 4)), statusLine());
    return true;
}

std::optional<QString> readSoukoban(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    BoardDeclaration d;
    if (auto faulty = readBoardDeclaration(state, input, params, d)) return faulty;
    AnimeInfo& c = state.createCharacter(d.name, d.lft, d.top, d.xzoom, d.yzoom, d.wid, d.hei);
    c.sameNameIndex = state.sameNameCount(c);
    c.disp = 1;
    c.kind = std::make_unique<soukobanInfo>(c, d);
    return std::nullopt;
}
