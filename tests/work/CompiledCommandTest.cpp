// Character commands of a program run from their parsed shape kept on the statement: the same
// effects as the general path (the text evaluated, cut and looked up on every run), and no stale
// character once the character list changed.
#include "WorkFixture.h"

#include "anime/AnimeState.h"
#include "work/CompiledCharacterCommand.h"

#include <cstring>

namespace {

// Every value a character command can change, doubles by their bits (so -0 and NaN count).
QString snapshot(const AnimeInfo& c) {
    QString out = c.name + u'[' + QString::number(c.sameNameIndex()) + u']';
    const auto bits = [&out](double v) {
        uint64_t b;
        std::memcpy(&b, &v, sizeof b);
        out += u' ' + QString::number(b, 16);
    };
    for (double v : {c.X, c.Y, c.Z, c.vX, c.vY, c.vZ, c.aX, c.aY, c.aZ, c.angleX, c.angleY, c.angleZ, c.rotaX,
                     c.rotaY, c.rotaZ, c.rsftX, c.rsftY, c.rsftZ, c.gotoX, c.gotoY, c.gotoZ, c.eX, c.eY, c.eZ,
                     c.rX, c.rY, c.rZ, c.charge, c.colorSft})
        bits(v);
    for (double v : c.userValues) bits(v);
    for (int v : {c.zoomX, c.zoomY, c.zoomZ, c.multX, c.multY, c.multZ, c.minX, c.minY, c.minZ, c.maxX, c.maxY,
                  c.maxZ, c.disp, c.mode, c.dirState, c.lifeTime, c.ghostX, c.ghostY, c.ghostZ, c.colorNumber})
        out += u' ' + QString::number(v);
    return out + u' ' + c.text + (c.chased ? u'>' + c.chased->name : QString());
}

class CompiledCommandTest : public WorkFixture {
public:
    // The command after a few variables, in a work of three dots named ball and one named dot,
    // run to its end; everything the run left that a command could have touched.
    QString outcome(const QString& command) {
        load({"ANIME_SET:", "DotPtn:ball,1,1,10,20,0,0,0,1,1", "1", "DotPtn:ball,1,1,30,40,0,0,0,1,1", "1",
              "DotPtn:ball,1,1,50,60,0,0,0,1,1", "1", "DotPtn:dot,1,1,70,80,0,0,0,1,1", "1", "SET_END:",
              "$a=7;$b=6;$m=-1;$z=0", command, "$done=1"});
        run->start();
        runToEnd();
        QString out = QString::number(int(runner().lastRunEnd())) + u'|' + QString::number(variable("done"));
        for (const auto& c : runner().animation().characters) out += u'\n' + snapshot(*c);
        out += u'\n' + host().messages.join(u'/');
        for (const auto& d : dialogs()) out += u'\n' + d.caption + u':' + d.text;
        return out;
    }
    // The compiled code of the command as the work compiled it (the line after the variables).
    QString compiledCode() {
        for (progInfo* s = runner().interpreter().statements.first(); s; s = s->next)
            if (s->lineNumber == 12) return s->code;
        return {};
    }
};

// Each form runs once as written, which the parsed shape takes, and once with a ',' at its end,
// which it leaves to the general path (the trailing comma changes nothing there): the two runs
// must leave the same characters, messages and run end, down to the sign of a zero.
TEST_F(CompiledCommandTest, ParsedShapeHasTheGeneralPathsEffects) {
    const QString forms[] = {
        "ball:X=$a+$b*2",
        "ball[1]:Y=($a-$b)/4,X=$a%3,vY=-2.5",
        "ball[$b-5]:vX=$a^2-$b/$a-1",
        "ball[$m]:Z=$a-$b-$b",                     // any of the name
        "BALL:x=3,位置Y=4,配列[1]=5",                // name case and Japanese keywords
        "ball:dim[$a%5]=$b-7,dim[31]=-2.5,dim[32]=9", // an index beyond 31 is ignored
        "ball:dim[$m]=1,dim[$a*$b]=2",
        "dot:X=$m*$z,Y=$z*$m,Z=-0",                // zeros of either sign, as the temporaries store them
        "dot:X=$z/$z,Y=$a/$z,vX=$m/$z",            // NaN and infinities
        "dot:zoomX=$a,multY=$b,minX=$m,disp=0,mode=$b-$a,angle=90,rota=$a*3",
        "ball[5]:X=1",                             // no such character: logged, the run stops
        "ball[$a]:X=1,Y=2",
        "ball:X=5,Y=1%$z",                         // a remainder by zero: nothing set, the run faults
        "ball[$a%$z]:X=5",
    };
    for (const QString& form : forms) {
        const QString shaped = outcome(form);
        CompiledCharacterCommand shape;
        EXPECT_TRUE(shape.compile(compiledCode())) << form.toStdString();
        // The messages that quote the line quote its comma too.
        const QString general = outcome(form + u',').replace(form + u',', form);
        EXPECT_FALSE(shape.compile(compiledCode())) << form.toStdString();
        EXPECT_EQ(shaped.toStdString(), general.toStdString()) << form.toStdString();
    }
}

// What the shapes left must also be right, not only equal: a few results worked out by hand.
TEST_F(CompiledCommandTest, ParsedShapeSetsWhatTheCommandSays) {
    outcome("ball[1]:X=($a-$b)*4+$a%3,dim[$a+$b]=$a^2,vY=-2.5");
    const AnimeInfo& ball1 = *runner().animation().characters[1];
    EXPECT_EQ(ball1.X, (4 + 1) * 10.0);
    EXPECT_EQ(ball1.userValues[13], 49);
    EXPECT_EQ(ball1.vY, -2.5);
    EXPECT_EQ(runner().animation().characters[0]->X, 100); // the other balls keep theirs
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);

    outcome("ball[7]:X=1");
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::CommandError);
    EXPECT_TRUE(host().messages.join(u'\n').contains(QStringLiteral("アニメキャラ（ ball[7] ）は設定されていません！")))
        << host().messages.join(u'\n').toStdString();
    EXPECT_EQ(variable("done"), 0);
}

// A loop writes through "dot:..." while the character list changes between its passes: the dot
// destroyed and made anew behind another character, and the index of the name changing from pass
// to pass. A lookup kept past the change would write to a destroyed character (which the address
// sanitizer reports) or to the wrong one.
TEST_F(CompiledCommandTest, ListChangesBetweenPassesReachTheKeptLookup) {
    load({"ANIME_SET:", "DotPtn:dot,1,1,10,20,0,0,0,1,1", "1", "DotPtn:dot,1,1,30,40,0,0,0,1,1", "1", "SET_END:",
          "for $i=1 to 4", "dot:X=$i,dim[0]=$i", "dot[$i%2]:dim[1]=$i", "next"});
    run->start();
    AnimeState& state = runner().animation();
    const auto remake = [&state](const QStringList& names) {
        state.reset();
        for (const QString& name : names) {
            AnimeInfo& c = state.createCharacter(name, 0, 0, 1, 1, 1, 1);
            state.setSameNameIndex(c, state.sameNameCount(c));
        }
        state.rebuildNameIndex();
    };
    // A command line is a program tick; the block, `for` and `next` take none of their own.
    runTicks(3); // the block, then the first pass
    ASSERT_EQ(state.characters[0]->X, 10);
    ASSERT_EQ(state.characters[1]->userValues[1], 1);
    remake({"other", "dot", "dot"});
    runTicks(5);
    EXPECT_EQ(state.characters[0]->X, 0);
    EXPECT_EQ(state.characters[1]->X, 20);
    EXPECT_EQ(state.characters[1]->userValues[0], 2);
    EXPECT_EQ(state.characters[1]->userValues[1], 2); // dot[0] on an even pass
    remake({"dot", "DOT", "other"});
    runTicks(7);
    EXPECT_EQ(state.characters[0]->X, 30);
    EXPECT_EQ(state.characters[1]->userValues[1], 3); // dot[1] on an odd pass: the "DOT"
    EXPECT_EQ(state.characters[0]->userValues[1], 0);
    remake({"other"});
    runToEnd();
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::CommandError);
    EXPECT_TRUE(host().messages.join(u'\n').contains(QStringLiteral("アニメキャラ（ dot[0] ）は設定されていません！")));
    EXPECT_EQ(state.characters[0]->X, 0);
}

} // namespace
