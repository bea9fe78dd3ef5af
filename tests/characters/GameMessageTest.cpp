// A game's stage message is a message window with a loop of its own, in which the frame timer
// goes on. Frames inside it, or inside another message that was open when the map was done, must
// not complete the map a second time: the map completes once, after the other message.
#include "GameFixture.h"
#include "characters/numlinkInfo.h"
#include "characters/pitmanInfo.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// A message window that runs a few frames of the game while it is open, as the real one's loop does.
struct FramesWhileOpen : CheckSink {
    int show(const QString&, const QString& caption, int) override {
        captions.append(caption);
        for (int i = 0; i < 3; ++i) frame();
        return 0;
    }
    std::function<void()> frame;
    QStringList captions;
};

TEST(GameMessage, FramesInsideAMessageWindowCompleteNoMapTwice) {
    const struct {
        const char* name;
        int kind, link;
        QStringList map;
        std::vector<GameKey> lastMoves;
        QString caption;
    } games[] = {
        {"pitman", Kind::pitman, Attr::pitman, {"862"}, {GameKey::Right}, QStringLiteral("第1マップの金塊は回収しました！")},
        {"NumLink", Kind::NumLink, Attr::NumLink, {"1.1"}, {GameKey::Enter, GameKey::Right},
         QStringLiteral("第1マップの数字はリンクされました！")},
    };
    for (const auto& g : games) {
        GameFixture f;
        ASSERT_EQ(f.run(QStringList{kindCode(g.kind) + QStringLiteral(":g,3,1,0,0,30,30")} + g.map), 0) << g.name;
        AnimeKind* game = f.state.characters.at(0)->kind.get();
        AnimeInfo& player = f.linkPlayer(3, g.link);
        FramesWhileOpen window;
        window.frame = [&] { game->stepPlayer(player); };
        ScopedCheckSink installed(&window);
        for (GameKey k : g.lastMoves) {
            game->key(k);
            window.frame();
        }
        EXPECT_TRUE(window.captions.isEmpty()) << g.name;
        // Another message is open when the map is done: the map waits for it to close.
        showCheck(QStringLiteral("ほかの知らせ"), QStringLiteral("知らせ"), 0);
        EXPECT_EQ(window.captions, QStringList{QStringLiteral("知らせ")}) << g.name;
        for (int i = 0; i < 3; ++i) window.frame();
        EXPECT_EQ(window.captions, (QStringList{QStringLiteral("知らせ"), g.caption})) << g.name;
        EXPECT_EQ(game->gameState()->rows, g.map) << g.name << ": the map starts over once";
    }
}

} // namespace
