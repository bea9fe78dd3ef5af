#include "pitmanInfo.h"

#include "anime/AnimeCanvas.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <algorithm>

namespace {

// Each cell's nine glyphs (three rows of three) and their colour, by cell value.
struct Face {
    const char16_t* glyphs;
    uint32_t color;
};
constexpr Face kFaces[] = {
    {u"■■■■■■■■■", 0x000000},       {u"┣━┫┣━┫┣━┫", 0xFFFFFF},       {u"▲△▲△▲△▲△▲", 0x00FFFF},
    {u"※※※※※※※※※", 0x60B0A0},       {u"◎◎◎◎◎◎◎◎◎", 0xFFFF00},       {u"◎◎◎◎◎◎◎◎◎", 0x4060FF},
    {u"　●　（■）　∩　", 0xC0C0FF}, {u"▼▽▼▽▼▽▼▽▼", 0x00FFFF},       {u"■■■■■■■■■", 0x000000},
    {u"　●　（■）　∩　", 0xF00000},
};
constexpr uint32_t kFieldColor = 0x000000;
constexpr uint32_t kStatusColor = 0x008000;
constexpr uint32_t kStatusBackground = 0xE0E0E0;
constexpr int kStatusPoints = 16;
constexpr int kLadderInset = 8; // a ladder's side glyphs stand this much nearer its middle


} // namespace

pitmanInfo::pitmanInfo(AnimeInfo& self, const BoardDeclaration& d)
    : BoardGame(self), board_(d.wid, d.hei, d.digitMaps(u'9', int8_t(PitmanBoard::Empty)), d.stages, d.start - 1) {
    self.frameCount = d.stages;
    cellSize_ = std::max(self.zoomX * 3 / 2, 1);
}

int pitmanInfo::kindCode() const { return Kind::pitman; }

int pitmanInfo::playerColumn() const { return board_.grid().column(std::max(board_.playerCell(), 0)); }
int pitmanInfo::playerRow() const { return board_.grid().row(std::max(board_.playerCell(), 0)); }

int pitmanInfo::clickColumn(int x) const {
    return std::clamp(cellOf(x - drawnLeft_, cellSize_), 0, board_.grid().width() - 1);
}

int pitmanInfo::clickRow(int y) const {
    return std::clamp(cellOf(y - drawnTop_, cellSize_), 0, board_.grid().height() - 1);
}

void pitmanInfo::announce(MoveOutcome outcome) {
    // Only the last map's gold has a message; the maps before it follow each other silently.
    if (outcome != MoveOutcome::AllCleared) return;
    showCheck(QStringLiteral("全てのマップが片付きました。"),
              QStringLiteral("第%1マップの金塊は回収しました！").arg(board_.stageCount()), 0);
}

void pitmanInfo::stepPlayer(AnimeInfo& player) {
    int& mode = player.chaseMode;
    if (mode == GameMode::Waiting) {
        const AnimeHost* host = self().state ? self().state->host : nullptr;
        if (host && host->gamePadVisible()) {
            mode = GameMode::UserPlay;
            board_.clearSnapshots();
            return;
        }
    }
    // The last map's message runs a loop of its own in which frames go on; they must not
    // complete a map again behind the message's back. The board moves on before the message.
    if (checkNesting() == 0) {
        const MoveOutcome completed = board_.complete();
        if (completed != MoveOutcome::Refused) {
            stopWalk();
            announce(completed);
        }
    }
    if (board_.fall() || mode != GameMode::UserPlay) {
        takeKey(); // nobody acts while things fall
        return;
    }
    walkToClick();
    const GameKey key = takeKey();
    if (key != GameKey::None) announce(moveByKey(key));
}

QString pitmanInfo::rowText(int row) const {
    QString text;
    for (int c = 0; c < board_.grid().width(); ++c) text += QChar(u'0' + board_.at(c, row));
    return text;
}

QString pitmanInfo::statusLine() const {
    return QString::asprintf("%3d ／%d 面 %5d ", board_.currentStage() + 1, board_.stageCount(),
                             board_.snapshotCount());
}

bool pitmanInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const BoardGrid& grid = board_.grid();
    const int zoom = std::max(at.dotZoom, 1);
    const int s = std::max(self.zoomX * zoom / 2, 1); // glyph size in points and glyph pitch in pixels
    const int64_t x = at.screenLeft, y0 = at.screenTop - int64_t(grid.height()) * s;
    drawnLeft_ = x;
    drawnTop_ = y0;
    cellSize_ = 3 * s;
    canvas.fillRect(x, y0 - 4, int64_t(grid.width()) * 3 * s + 6, int64_t(grid.height()) * 3 * s + 6, kFieldColor);
    // Only the cells that fall on the picture are drawn, so a huge field costs what shows.
    const int64_t cell = 3 * int64_t(s);
    const int64_t firstColumn = std::max<int64_t>(0, -x / cell), firstRow = std::max<int64_t>(0, -y0 / cell);
    const int64_t lastColumn = std::min<int64_t>(grid.width() - 1, (canvas.width() - x) / cell);
    const int64_t lastRow = std::min<int64_t>(grid.height() - 1, (canvas.height() - y0) / cell + 1);
    for (int64_t i = firstRow; i <= lastRow; ++i)
        for (int64_t j = firstColumn; j <= lastColumn; ++j) {
            const int v = board_.at(int(j), int(i));
            const Face& face = kFaces[std::clamp(v, 0, 9)];
            if (face.color == kFieldColor) continue; // black glyphs on the black field
            const QString glyphs = QString::fromUtf16(face.glyphs);
            for (int m = 0; m < 3; ++m)
                for (int k = 0; k < 3; ++k) {
                    const QChar g = glyphs[m * 3 + k];
                    if (g == u'　') continue;
                    const int inset = v == PitmanBoard::Ladder ? (k == 0 ? kLadderInset : k == 2 ? -kLadderInset : 0) : 0;
                    canvas.drawText(x + s * (k + j * 3) + inset, y0 + i * s * 3 + m * s - 5, QString(g), s, face.color);
                }
        }
    // This system's Japanese type is taller than the line was made for: it is raised, when
    // needed, so that it ends above the field instead of covering its top row.
    const QString status = statusLine();
    const int64_t statusTop = std::min<int64_t>(y0 - self.zoomY * zoom / 2 - 6,
                                                y0 - 4 - canvas.textSize(status, kStatusPoints).height());
    canvas.drawText(x, statusTop, status, kStatusPoints, kStatusColor, kStatusBackground);
    return true;
}

std::optional<QString> readPitman(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    return readBoardCharacter(state, input, params,
                              [](AnimeInfo& self, const BoardDeclaration& d) -> std::unique_ptr<AnimeKind> {
                                  return std::make_unique<pitmanInfo>(self, d);
                              });
}
