// An animation with a fake window whose game pad can be shown, its block reader and a message
// sink of its own, for the game kinds' tests.
#pragma once

#include "anime/AnimeBlock.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeState.h"
#include "anime/PlainBlockInput.h"
#include "characters/CharacterKinds.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <cstdint>
#include <vector>

struct GameHost : AnimeHost {
    void logMessage(const QString& line) override { log.append(line); }
    void showGamePad() override { ++padRequests; }
    bool gamePadVisible() const override { return padVisible; }
    QStringList log;
    int padRequests = 0;
    bool padVisible = false;
};

struct GameFixture {
    GameHost host;
    AnimeState state;
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    GameFixture() {
        state.host = &host;
        registerCharacterKinds(state);
    }
    // Reads a block of lines (kind lines written with kindCode); returns runAnimeSet's result.
    int run(const QStringList& lines) {
        PlainBlockInput input(lines);
        return runAnimeSet(state, input);
    }
    // A player character (a plain dot picture) linked to the game with n = 10 k + m.
    AnimeInfo& linkPlayer(int n, int link = Attr::Soukoban) {
        AnimeInfo& p = state.createCharacter(QStringLiteral("player"), 0, 0, 1, 1, 1, 1);
        p.setAttribute(link, n);
        return p;
    }
};

// Map rows of '0' floor, '1' goal, '2' player, '3' box, '4' wall into warehouse board cells.
inline std::vector<int8_t> cellsOf(const std::vector<const char*>& rows) {
    std::vector<int8_t> cells;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c) cells.push_back(int8_t(*c >= '1' && *c <= '4' ? *c - '0' : 0));
    return cells;
}

// The sprite arrives where the game sent it (the motion step's job, done here at once).
inline void arrive(AnimeInfo& player) {
    if (player.gotoX != kNoTarget) player.X = player.gotoX;
    if (player.gotoY != kNoTarget) player.Y = player.gotoY;
}
