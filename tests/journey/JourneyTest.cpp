// The star journey without its window: the universe laid out in space, the stargates, the ship
// under scripted keys, whole journeys under the autopilot and under program control, the end at
// the horizon of the universe, and frames drawn into a picture.
#include "JourneyFixture.h"

#include "journey/JourneyPainter.h"
#include "journey/StarJourney.h"

#include "common/ShowCheck.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

constexpr int kTextHeight = 480;
constexpr int kWidth = 1024;

// root; a.txt, b.txt, 銀河 { c.txt, a long double-byte name }.
std::vector<Universe::Node> smallUniverse() {
    return {{1, QStringLiteral("a.txt"), false},
            {1, QStringLiteral("b.txt"), false},
            {1, QStringLiteral("銀河"), true},
            {2, QStringLiteral("c.txt"), false},
            {2, QStringLiteral("長い名前の写真ファイルです.jpg"), false}};
}

const JourneyObject* plateOf(const std::vector<JourneyObject>& objects, const QString& name) {
    for (const JourneyObject& o : objects)
        if (o.role == ObjectRole::Label && o.node && o.node->name() == name) return &o;
    return nullptr;
}

class JourneyTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
};

TEST_F(JourneyTest, NodesLieInTheirRowBandsAtTheirLevelsHeightAndColumn) {
    Universe u(smallUniverse());
    std::vector<JourneyObject> objects;
    const JourneyLook look;
    const SceneMarkers m = buildScene(u.layout, look, 260, 160, 1600, nullptr, nullptr, 0, objects);
    EXPECT_EQ(m.firstRow, 0);
    struct Case {
        QString name;
        double x0, y0, z0, x1;
    };
    // x = 16 × 24 × depth + 10, y from −16 × row + 3, 10 deep, z = 20 × depth; 6 units a column.
    const Case cases[] = {
        {QStringLiteral("/宇宙"), 10, 3, 0, 10 + 6 * 9},       // "< /宇宙 >": 9 columns
        {QStringLiteral("a.txt"), 394, -13, 20, 394 + 30},
        {QStringLiteral("銀河"), 394, -45, 20, 394 + 6 * 8},   // "< 銀河 >"
        {QStringLiteral("c.txt"), 778, -61, 40, 778 + 30},
        {QStringLiteral("長い名前の写真ファイルです.jpg"), 778, -77, 40, 778 + 6 * 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const JourneyObject* o = plateOf(objects, c.name);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->x0, c.x0);
        EXPECT_EQ(o->y0, c.y0);
        EXPECT_EQ(o->y1, c.y0 + 10);
        EXPECT_EQ(o->z0, c.z0);
        EXPECT_EQ(o->x1, c.x1);
    }
    EXPECT_EQ(plateText(*plateOf(objects, QStringLiteral("長い名前の写真ファイルです.jpg"))->node), QString(16, u'*'));
    // A "★" for every even row, at the left edge below everything; the Earth behind row 0.
    int rowMarks = 0;
    for (const JourneyObject& o : objects)
        if (o.role == ObjectRole::RowMark) {
            ++rowMarks;
            EXPECT_EQ(o.z0, -100);
            EXPECT_EQ(int(-o.y0) % 32, 0);
        }
    EXPECT_EQ(rowMarks, 3);
    ASSERT_GE(m.earth, 0);
    const JourneyObject& earth = objects[std::size_t(m.earth)];
    EXPECT_EQ(earth.x0, 768);
    EXPECT_EQ(earth.y0, 100);
    EXPECT_EQ(earth.z0, 200);

    // Two stars to a row: the second plate starts 60 after the first one's column (24 × 10).
    Universe wide(smallUniverse(), 2);
    buildScene(wide.layout, look, 260, 160, 1600, nullptr, nullptr, 0, objects);
    EXPECT_EQ(plateOf(objects, QStringLiteral("b.txt"))->x0, 394 + 300);
    EXPECT_EQ(plateOf(objects, QStringLiteral("b.txt"))->y0, -13);
}

TEST_F(JourneyTest, OnlyRowsWithinTheRadarAndTheBudgetAreTaken) {
    Universe u(Universe::galaxiesOfStars(3000, 30));
    std::vector<JourneyObject> objects;
    JourneyLook look;
    // The ship at row 1000: rows from 30 behind it to the radar's reach.
    const double y = -16.0 * 1000;
    SceneMarkers m = buildScene(u.layout, look, y, 160, 100000, nullptr, nullptr, 0, objects);
    EXPECT_EQ(m.firstRow, 971);
    int lowest = INT32_MAX, highest = 0;
    for (const JourneyObject& o : objects)
        if (o.role == ObjectRole::Label) lowest = std::min(lowest, o.node->row), highest = std::max(highest, o.node->row);
    EXPECT_EQ(lowest, 971);
    EXPECT_EQ(highest, 971 + 159);
    // A budget of 50 keeps the nearest rows; the markers still come.
    m = buildScene(u.layout, look, y, 160, 50, nullptr, nullptr, 0, objects);
    EXPECT_LE(objects.size(), 51u);
    EXPECT_EQ(objects.back().role, ObjectRole::Earth);
    for (const JourneyObject& o : objects)
        if (o.role == ObjectRole::Label) {
            EXPECT_LT(o.node->row, 971 + 20);
        }
    // Beyond the last row by 30 rows the ship has left the universe.
    const int rows = u.layout.rowCount();
    EXPECT_GE(buildScene(u.layout, look, -16.0 * (rows - 1) - 479, 160, 1600, nullptr, nullptr, 0, objects).firstRow, 0);
    EXPECT_EQ(buildScene(u.layout, look, -16.0 * (rows - 1) - 480, 160, 1600, nullptr, nullptr, 0, objects).firstRow, -1);
}

TEST_F(JourneyTest, StargatesAreChosenAmongTheStarsAndNeverPastTheLast) {
    struct Case {
        int stars;
        int unit;
        int gates;
        int topSpeed;
    };
    for (const Case c : {Case{500, 250, 1, 30}, Case{2000, 1000, 2, 30}, Case{31000, 3000, 10, 50}, Case{1, 0, 1, 30}}) {
        SCOPED_TRACE(c.stars);
        Universe u(Universe::galaxiesOfStars(c.stars, 100));
        StarJourney j(u.layout);
        ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 7));
        EXPECT_EQ(j.starCount(), c.stars);
        EXPECT_EQ(j.distanceUnit(), c.unit);
        EXPECT_EQ(j.topSpeed(), c.topSpeed);
        ASSERT_EQ(int(j.gates().size()), c.gates);
        EXPECT_EQ(j.panelText(), QStringLiteral("宇宙のかなた「イスカンダル」までの旅です. 途中で、%1 局の「スターゲイト」を通過します.  (距離±30まで接近）").arg(c.gates));
        for (int i = 0; i < c.gates; ++i) {
            const int index = j.gates()[std::size_t(i)]->name().mid(4).chopped(4).toInt();
            EXPECT_GE(index, i * c.unit + c.unit / 2);
            EXPECT_LE(index, i * c.unit + c.unit);
        }
        EXPECT_EQ(j.destination()->name(), QStringLiteral("star%1.txt").arg(c.stars - 1));
        EXPECT_EQ(j.ship.y, 500 - kTextHeight / 2);
        EXPECT_EQ(j.ship.cx, kWidth / 2);
    }
    // The largest random number on a star count that is a multiple of the unit would name the
    // star after the last one.
    EXPECT_EQ(gateStarIndex(1, 32767, 1000, 2000), 1999);
    EXPECT_EQ(gateStarIndex(1, 0, 1000, 2000), 1500);
    EXPECT_EQ(gateStarIndex(0, 32767, 250, 500), 250);
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(JourneyTest, AUniverseWithoutStarsHasNoGatesAndSaysSo) {
    // Galaxies only, and a universe of stars seen with its stars hidden.
    Universe empty({{1, QStringLiteral("空"), true}, {2, QStringLiteral("虚"), true}});
    Universe hidden(smallUniverse());
    hidden.layout.view.starsShown = false;
    hidden.layout.relayout();
    for (Universe* u : {&empty, &hidden}) {
        sink.records.clear();
        StarJourney j(u->layout);
        EXPECT_FALSE(j.setupJourney(u->layout, JourneyLook{}, kTextHeight, kWidth, 1));
        EXPECT_TRUE(j.gates().empty());
        EXPECT_EQ(j.destination(), nullptr);
        EXPECT_FALSE(j.timer.on());
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].caption, "メタ宇宙の旅");
        EXPECT_EQ(sink.records[0].text, j.panelText());
        EXPECT_TRUE(j.panelText().contains(QStringLiteral("[星]がありません")));
        j.tick(); // nothing to fly through: nothing happens
        EXPECT_EQ(j.ticks(), 0);
    }
}

TEST_F(JourneyTest, KeysMoveAndTurnTheShipAndCostEnergy) {
    Universe u(smallUniverse());
    struct Press {
        int key;
        bool keypad;
        bool shift;
    };
    struct Case {
        const char* what;
        std::vector<Press> keys;
        double vx, vy, vz;
        int pitchRate, yawRate, pitch;
        int64_t energy;
    };
    const Case cases[] = {
        {"arrows and the pad", {{Qt::Key_Left, false, false}, {Qt::Key_4, true, false}, {Qt::Key_8, true, false}, {Qt::Key_5, true, false}},
         -2, -1, 1, 0, 0, 20, 9996},
        {"the main row's 4 and 6 mirror the pad", {{Qt::Key_4, false, false}, {Qt::Key_4, false, false}, {Qt::Key_6, false, false}},
         1, 0, 0, 0, 0, 20, 9997},
        {"down and backward", {{Qt::Key_Down, false, false}, {Qt::Key_Minus, false, false}, {Qt::Key_0, true, false}},
         0, 1, -2, 0, 0, 20, 9997},
        {"rates: pad 1/3/7/9, main row 7/9/1/3", {{Qt::Key_1, true, false}, {Qt::Key_7, true, false}, {Qt::Key_7, false, false},
          {Qt::Key_3, false, false}, {Qt::Key_9, false, false}},
         0, 0, 0, -1, 0, 20, 9995},
        {"X tips the nose, pad * and / are free", {{Qt::Key_X, false, false}, {Qt::Key_Asterisk, true, false}, {Qt::Key_Slash, true, false}},
         0, 0, 0, 0, 0, 21, 9999},
        {"a warp and a long warp", {{Qt::Key_Up, false, false}, {Qt::Key_W, false, false}, {Qt::Key_W, false, true}},
         0, -1, 0, 0, 0, 20, 10000 - 1 - 100 - 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StarJourney j(u.layout);
        ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
        const double y0 = j.ship.y;
        for (const Press& p : c.keys) {
            const auto key = journeyKeyFor(p.key, p.keypad, p.shift);
            ASSERT_TRUE(key.has_value());
            EXPECT_TRUE(j.act(*key));
        }
        EXPECT_EQ(j.ship.vx, c.vx);
        EXPECT_EQ(j.ship.vy, c.vy);
        EXPECT_EQ(j.ship.vz, c.vz);
        EXPECT_EQ(j.ship.pitchRate, c.pitchRate);
        EXPECT_EQ(j.ship.yawRate, c.yawRate);
        EXPECT_EQ(j.ship.pitch, c.pitch);
        EXPECT_EQ(j.ship.energy, c.energy);
        if (std::string(c.what) == "a warp and a long warp") {
            EXPECT_EQ(j.ship.y, y0 - 11000);
        }
    }
    EXPECT_FALSE(journeyKeyFor(Qt::Key_Q, false, false).has_value());
    EXPECT_FALSE(journeyKeyFor(Qt::Key_Asterisk, false, false).has_value());
}

TEST_F(JourneyTest, QueuedKeysRunOneATickAndTheShipMovesOnlyOnceItFlies) {
    Universe u(smallUniverse());
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
    j.queueKey(JourneyKey::Forward);
    j.queueKey(JourneyKey::PitchRateUp);
    j.tick(); // the forward key the journey starts with
    EXPECT_EQ(j.ship.vy, -1);
    EXPECT_EQ(j.ship.y, 260); // docked and never switched: the ship waits
    j.tick();
    j.tick();
    EXPECT_EQ(j.ship.vy, -2);
    EXPECT_EQ(j.ship.pitchRate, 1);
    j.setFloating(1);
    j.tick(); // tick 3: half the velocity; the rate comes every 4th tick
    EXPECT_EQ(j.ship.y, 259);
    EXPECT_EQ(j.ship.pitch, 20);
    j.tick();
    EXPECT_EQ(j.ship.pitch, 21);
    EXPECT_EQ(j.texts().pitchValue, "1／21");
    EXPECT_EQ(j.texts().moveY, "2／-258");
    EXPECT_EQ(j.texts().infoTop, "T=  0    E=  9997       右    0  前    2  上    0 ");
}

TEST_F(JourneyTest, AtNegativeEnergyKeysDoNothingUntilAGateGivesEnergy) {
    Universe u(smallUniverse());
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
    j.tick();
    j.ship.energy = -1;
    EXPECT_FALSE(j.act(JourneyKey::Right));
    EXPECT_FALSE(j.act(JourneyKey::EyeNearer));
    EXPECT_EQ(j.ship.vx, 0);
    EXPECT_EQ(j.ship.energy, -1);
    // Within 30 on every axis the manual pilot passes; the autopilot needs 3.
    struct Case {
        bool autopilot;
        double offset;
        bool passes;
    };
    for (const Case c : {Case{false, 29, true}, Case{false, 30, false}, Case{true, 29, false}, Case{true, 2, true}}) {
        SCOPED_TRACE(testing::Message() << c.autopilot << " " << c.offset);
        ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
        j.ship.energy = -1;
        const fileInfo* gate = j.gates()[0];
        j.tick(); // the scene holds the gate's plate now
        j.ship.autopilot = c.autopilot; // (its next steering is ten ticks away)
        const JourneyObject& plate = j.objects()[std::size_t(j.markers().gateLabel)];
        ASSERT_EQ(plate.node, gate);
        j.ship.x = plate.x0 + c.offset;
        j.ship.y = plate.y0 - c.offset;
        j.ship.z = plate.z0 + c.offset;
        j.tick();
        j.tick();
        EXPECT_EQ(j.ship.nextGate, c.passes ? 1 : 0);
        EXPECT_EQ(j.ship.energy, c.passes ? 999 : -1);
        if (c.passes) {
            EXPECT_TRUE(j.act(JourneyKey::Right));
            EXPECT_EQ(j.messageLine(0), "宇宙管理局の最終スターゲイト通行許可が出ました. ");
            EXPECT_EQ(j.messageLine(1), "イスカンダル星へ向けて出発します. ");
        }
    }
}

// Flies a journey under the autopilot until it has ended; returns the ticks it took.
int64_t flyToTheEnd(StarJourney& j, int64_t bound) {
    while (!j.finished() && j.ticks() < bound) j.tick();
    return j.ticks();
}

TEST_F(JourneyTest, TheAutopilotReachesTheDestinationAndComesBack) {
    Universe u(Universe::galaxiesOfStars(2500, 25));
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 3));
    ASSERT_EQ(j.gates().size(), 2u);
    j.switchPilot(); // "ＡＩ"
    EXPECT_TRUE(j.ship.autopilot);
    EXPECT_EQ(j.floating(), 2);
    EXPECT_EQ(j.messageLine(0), "≪ 自動操縦 ≫ に切り替えます. ");
    sink.answers = {1}; // back to the Earth
    const int64_t ticks = flyToTheEnd(j, 60000);
    EXPECT_TRUE(j.finished()) << j.texts().infoBottom.toStdString();
    EXPECT_LT(ticks, 60000);
    RecordProperty("ticks", int(ticks));
    EXPECT_EQ(j.ship.nextGate, 2);
    EXPECT_EQ(j.ship.returning, 1);
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].caption, "イスカンダル星に着きました. ");
    EXPECT_EQ(sink.records[0].style, 21);
    EXPECT_EQ(sink.records[1].caption, "青く美しい 地球に戻りました. ");
    EXPECT_EQ(sink.records[1].text, "メタ宇宙の旅を終了します. ");
    EXPECT_TRUE(j.restartShown());
    EXPECT_FALSE(j.timer.on());
    EXPECT_FALSE(j.horizonCrossed());
    // The ship stands at the Earth.
    EXPECT_NEAR(j.ship.x, 768, 3);
    EXPECT_NEAR(j.ship.y, 100, 3);
    EXPECT_NEAR(j.ship.z, 200, 3);
}

TEST_F(JourneyTest, TheAutopilotFindsGatesBesideOthersInTheirRow) {
    // Three stars to a row: gates and the destination may sit in the second or third column.
    Universe u(Universe::galaxiesOfStars(900, 30), 3);
    for (uint32_t seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        sink.records.clear();
        sink.answers = {1};
        StarJourney j(u.layout);
        ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, seed));
        j.switchPilot();
        flyToTheEnd(j, 40000);
        EXPECT_TRUE(j.finished()) << j.texts().infoBottom.toStdString();
        EXPECT_EQ(sink.records.size(), 2u);
    }
    EXPECT_GT(u.layout.lastColumn(u.layout.rowCount() - 1) + u.layout.lastColumn(2), 0);
}

TEST_F(JourneyTest, AtTheDestinationNoEndsTheJourneyThere) {
    Universe u(Universe::galaxiesOfStars(300, 30));
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 5));
    j.switchPilot();
    sink.answers = {0};
    flyToTheEnd(j, 30000);
    EXPECT_TRUE(j.finished());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, "イスカンダル星に着きました. ");
    EXPECT_FALSE(j.ship.autopilot); // the manual pilot took over
    EXPECT_EQ(j.messageLine(0), "≪ 手動操縦 ≫ に切り替えます. ");
}

TEST_F(JourneyTest, UnderProgramControlTheJourneyFloatsOutAndAsksNothing) {
    Universe u(Universe::galaxiesOfStars(300, 30));
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 9));
    int floats = 0;
    j.onFloatOut = [&floats] { ++floats; };
    j.setMode(1);
    j.tick();
    EXPECT_EQ(floats, 1);
    EXPECT_EQ(j.mode(), 2);
    EXPECT_TRUE(j.ship.autopilot);
    bool homeward = false;
    while (!j.finished() && j.ticks() < 30000) {
        j.tick();
        homeward = homeward || j.ship.vy == 10;
    }
    EXPECT_TRUE(j.finished());
    EXPECT_TRUE(homeward);
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(j.messageLine(0), "青く美しい 地球に戻りました.  ");
    EXPECT_EQ(floats, 1);
}

TEST_F(JourneyTest, FlyingPastTheLastRowAsksWhetherToEnd) {
    Universe u(Universe::galaxiesOfStars(300, 30));
    const int rows = u.layout.rowCount();
    for (int answer : {0, 1}) {
        SCOPED_TRACE(answer);
        sink.records.clear();
        sink.answers = {answer};
        StarJourney j(u.layout);
        ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
        j.tick();
        j.ship.nextGate = 1;
        j.ship.y = -16.0 * rows - 5000;
        j.tick();
        j.tick();
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].caption, "宇宙の地平線を超えました！");
        EXPECT_EQ(sink.records[0].style, 21);
        EXPECT_TRUE(j.horizonCrossed());
        EXPECT_EQ(j.ship.nextGate, 0);
        EXPECT_EQ(j.ship.vy, 1);
        EXPECT_GE(j.markers().firstRow, 0); // back within the universe
        EXPECT_GT(j.ship.y, -16.0 * (rows - 1) - 480);
        EXPECT_LE(j.ship.y, -16.0 * (rows - 1) - 380);
        EXPECT_TRUE(j.timer.on());
        EXPECT_EQ(j.closingCountdown() > 0, answer == 1);
        EXPECT_EQ(j.restartShown(), answer == 1);
        // Crossing again asks nothing more.
        j.ship.y = -16.0 * rows - 5000;
        j.tick();
        j.tick();
        EXPECT_EQ(sink.records.size(), 1u);
    }
}

TEST_F(JourneyTest, TheCloseButtonAsksThenCountsDownAndRestartResumes) {
    Universe u(smallUniverse());
    StarJourney j(u.layout);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 1));
    sink.answers = {0, 1};
    j.closeButton();
    EXPECT_FALSE(j.restartShown());
    j.closeButton();
    EXPECT_TRUE(j.restartShown());
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[1].text, "メタ宇宙の旅を終了しますか？(はい／いいえ)");
    EXPECT_EQ(sink.records[1].caption, "メタ宇宙の旅");
    for (int i = 0; i < 99; ++i) j.tick();
    EXPECT_FALSE(j.finished());
    j.closeButton(); // "再出発": the countdown already running goes on
    EXPECT_FALSE(j.restartShown());
    j.tick();
    EXPECT_TRUE(j.finished());
    EXPECT_EQ(j.ticks(), 0); // no frame ran during the countdown
}

TEST_F(JourneyTest, FramesAreDrawnIntoThePicture) {
    Universe u(Universe::galaxiesOfStars(600, 12));
    StarJourney j(u.layout);
    QImage picture(kWidth, 580, QImage::Format_RGB32);
    j.setPicture(&picture);
    ASSERT_TRUE(j.setupJourney(u.layout, JourneyLook{}, kTextHeight, kWidth, 11));
    j.switchPilot();
    for (int i = 0; i < 300; ++i) j.tick();
    j.act(JourneyKey::Map);
    for (int i = 0; i < 12; ++i) j.tick();
    EXPECT_EQ(j.mapState(), 1);
    // Something besides the background: plates, their text, the map.
    int plain = 0;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4) plain += picture.pixel(x, y) == qRgb(0, 0, 48);
    const int samples = (picture.height() / 4) * (picture.width() / 4);
    EXPECT_LT(plain, samples * 95 / 100);
    EXPECT_GT(plain, samples / 10);
    EXPECT_EQ(picture.pixel(210, 210) != qRgb(0, 0, 48), true); // the open map
    const QString out = QDir::current().filePath(QStringLiteral("journey_frame.png"));
    EXPECT_TRUE(picture.save(out));
}

TEST_F(JourneyTest, ProjectionPutsThePointAheadAtTheCentreAndDropsWhatIsBehindTheEye) {
    JourneyCamera c{100, 200, 300, 0, 0, 0, 160, 512, 520};
    struct Case {
        double x, y, z;
        int sx, sy;
        int64_t distance;
    };
    const Case cases[] = {
        {100, 200, 200, 512, 520, 260 * 260},          // straight ahead (down the z axis at pitch 0)
        {110, 200, 200, 512 + 180 * 10 / 260, 520, 10 * 10 + 260 * 260},
        {100, 200, 500, 512, 520, -1},                  // behind the eye
    };
    for (const Case& k : cases) {
        const ProjectedPoint p = projectPoint(c, k.x, k.y, k.z);
        EXPECT_EQ(p.sx, k.sx);
        EXPECT_EQ(p.sy, k.sy);
        EXPECT_EQ(p.distance, k.distance);
    }
    c.yaw = 90; // turned a quarter: the point to the right now lies on the screen's vertical
    const ProjectedPoint p = projectPoint(c, 110, 200, 200);
    EXPECT_EQ(p.sx, 512);
    EXPECT_EQ(p.sy, 520 + 180 * 10 / 260);
    EXPECT_NEAR(tableSin(30), 0.5, 1e-12);
    EXPECT_EQ(wrapDegrees(-1), 359);
}

} // namespace
