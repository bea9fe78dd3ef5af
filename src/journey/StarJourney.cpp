#include "StarJourney.h"

#include "JourneyPainter.h"

#include "common/ShowCheck.h"
#include "universe/NebuLayout.h"

#include <cmath>
#include <new>
#include <random>

namespace {

constexpr int kQueueLength = 128;
constexpr int kMessageTicks = 150;
constexpr int kMapSteps = 10;
const QString kCaption = QStringLiteral("メタ宇宙の旅");

int64_t trunc64(double v) { return static_cast<int64_t>(std::trunc(v)); }

// One step of an autopilot velocity toward d / 100, within the top speed.
double stepToward(double v, int64_t d, int top) {
    const double g = static_cast<double>(d / 100);
    if (v < g && v < top) return v + 1;
    if (v > g && v > -top) return v - 1;
    return v;
}

// The autopilot's rule for one axis once it is not held at 0.
double steer(double v, int64_t d, int top) {
    const int64_t e = d < 0 ? -d : d;
    if (e < 3) return 0;
    if (e >= 100) return stepToward(v, d, top);
    return d > 0 ? 1 : -1;
}

AxisColour axisColour(int64_t offset) {
    const int64_t e = offset < 0 ? -offset : offset;
    return e < 30 ? AxisColour::Green : e < 100 ? AxisColour::Yellow : AxisColour::Red;
}

QString pair(int64_t a, int64_t b) { return QStringLiteral("%1／%2").arg(a).arg(b); }

} // namespace

int64_t gateStarIndex(int i, int k, int unit, int64_t stars) {
    const int64_t c = static_cast<int64_t>(std::trunc(double(k) * unit / 2 / 32767)) + int64_t(i) * unit + unit / 2;
    return std::max<int64_t>(0, std::min<int64_t>(c, stars - 1));
}

StarJourney::StarJourney(const NebuLayout& layout) : layout_(&layout) {}

bool StarJourney::setupJourney(const NebuLayout& layout, const JourneyLook& look, int textHeight, int pictureWidth,
                               uint32_t seed) {
    layout_ = &layout;
    const bool everywhere = look_.branchesEverywhere;
    look_ = look;
    look_.branchesEverywhere = everywhere;
    gates_.clear();
    destination_ = nullptr;
    objects_.clear();
    markers_ = {};
    keys_.clear();
    const treeInfo& tree = layout.tree();
    const fileInfo* top = tree.topGalaxy ? tree.topGalaxy : tree.root();
    int64_t stars = 0;
    for (const fileInfo* n = top; n && n != tree.bottom(); n = n->nextShown)
        if (!n->isGalaxy() && n->row >= 0) ++stars;
    stars_ = static_cast<int>(std::min<int64_t>(stars, INT32_MAX));
    unit_ = stars_ <= 30000 ? 1000 : 3000;
    topSpeed_ = stars_ <= 30000 ? 30 : 50;
    int count = 0;
    if (stars_ > 0) {
        if (stars_ < unit_) {
            count = 1;
            unit_ = stars_ / 2;
        } else {
            count = stars_ / unit_;
        }
    }
    // Gate i lies between the stars i·u + u/2 and i·u + u, never past the last star.
    std::mt19937 random(seed);
    std::vector<int64_t> wanted;
    for (int i = 0; i < count; ++i) {
        wanted.push_back(gateStarIndex(i, static_cast<int>(random() % 32768), unit_, stars_));
    }
    int64_t index = 0;
    std::size_t next = 0;
    for (const fileInfo* n = top; n && n != tree.bottom(); n = n->nextShown) {
        if (n->isGalaxy() || n->row < 0) continue;
        while (next < wanted.size() && wanted[next] == index) {
            gates_.push_back(n);
            ++next;
        }
        destination_ = n;
        ++index;
    }
    ship = ShipState{};
    ship.y = 500 - textHeight / 2;
    ship.cx = pictureWidth / 2;
    ticks_ = 0;
    mapState_ = 0;
    closing_ = 0;
    restartShown_ = false;
    horizonCrossings_ = 0;
    messageTick_ = -1000;
    message_[0].clear();
    message_[1].clear();
    capacityRadar_ = 0;
    if (stars_ == 0) {
        ready_ = false;
        panelText_ = QStringLiteral("この宇宙には[星]がありません. 「スターゲイト」も「イスカンダル」もないので、旅は始まりません.");
        timer.set(false);
        showCheck(panelText_, kCaption, 20);
        return false;
    }
    ready_ = true;
    panelText_ = QStringLiteral("宇宙のかなた「イスカンダル」までの旅です. 途中で、%1 局の「スターゲイト」を通過します.  (距離±30まで接近）")
                     .arg(gates_.size());
    keys_.push_back(JourneyKey::Forward);
    timer.set(true);
    return true;
}

bool StarJourney::messageVisible() const {
    const int64_t age = ticks_ - messageTick_;
    return floating_ != 1 && age >= 0 && age < kMessageTicks;
}

void StarJourney::message(const QString& first, const QString& second) {
    message_[0] = first;
    message_[1] = second;
    messageTick_ = ticks_;
}

void StarJourney::queueKey(JourneyKey key) {
    if (keys_.size() < kQueueLength) keys_.push_back(key);
}

bool StarJourney::act(JourneyKey key) {
    if (ship.energy < 0) return false;
    runKey(key);
    return true;
}

bool StarJourney::upDownClick(UpDown which, bool up) {
    if (which != UpDown::Zrot && ship.energy < 0) return false;
    const int step = up ? 1 : -1;
    switch (which) {
    case UpDown::Mvx: ship.vx += step; break;
    case UpDown::Ymove: ship.vy -= step; break; // the upper arrow is forward
    case UpDown::Zmove: ship.vz += step; break;
    case UpDown::Xrotation: ship.pitchRate += step; break;
    case UpDown::Zrot: ship.yawRate += step; break;
    }
    if (which == UpDown::Mvx || which == UpDown::Ymove || which == UpDown::Zrot) ship.energy -= 1;
    return true;
}

void StarJourney::runKey(JourneyKey key) {
    using K = JourneyKey;
    int cost = journeyKeyCost(key);
    switch (key) {
    case K::Left: ship.vx -= 1; break;
    case K::Right: ship.vx += 1; break;
    case K::Forward: ship.vy -= 1; break;
    case K::Backward: ship.vy += 1; break;
    case K::Up: ship.vz += 1; break;
    case K::Down: ship.vz -= 1; break;
    case K::PitchRateDown: ship.pitchRate -= 1; break;
    case K::PitchRateUp: ship.pitchRate += 1; break;
    case K::YawRateUp: ship.yawRate += 1; break;
    case K::YawRateDown: ship.yawRate -= 1; break;
    case K::PitchStep: ship.pitch = wrapDegrees(ship.pitch + 1); break;
    case K::EyeNearer: ship.eyeDrift -= 1; break;
    case K::EyeFarther: ship.eyeDrift += 1; break;
    case K::Warp:
    case K::LongWarp: {
        const double factor = key == K::Warp ? 1000 : 10000;
        ship.x += factor * ship.vx;
        ship.y += factor * ship.vy;
        ship.z += factor * ship.vz;
        break;
    }
    case K::SwitchPilot: switchPilot(); break;
    case K::Map:
        if (mapState_ == 0) {
            mapState_ = kMapSteps;
            cost = 10;
        } else {
            mapState_ = mapState_ > 0 ? -kMapSteps : 0;
        }
        break;
    case K::PanelRight: panelShift_ += 16; break;
    case K::PanelLeft: panelShift_ -= 16; break;
    }
    ship.energy -= cost;
}

void StarJourney::switchPilot() {
    ship.autopilot = !ship.autopilot;
    message(ship.autopilot ? QStringLiteral("≪ 自動操縦 ≫ に切り替えます. ") : QStringLiteral("≪ 手動操縦 ≫ に切り替えます. "),
            QStringLiteral("変更は <A>キー か <ＡＩ>ボタン"));
    floating_ = 2;
}

void StarJourney::startClosing() {
    restartShown_ = true;
    if (closing_ == 0) closing_ = 1;
    timer.set(true); // the countdown runs on the timer, even in a universe without stars
}

void StarJourney::closeButton() {
    if (restartShown_) {
        restartShown_ = false;
        timer.set(true);
        return;
    }
    if (showCheck(QStringLiteral("メタ宇宙の旅を終了しますか？(はい／いいえ)"), kCaption, 21) == 1) startClosing();
}

void StarJourney::tick() {
    guardedStep(
        busy_,
        [this] {
            if (mode_ == 1) {
                if (onFloatOut) onFloatOut();
                switchPilot();
                mode_ = 2;
            }
            if (closing_ > 0) {
                ++closing_;
                if (finished()) timer.set(false);
                return;
            }
            if (!ready_) return;
            if (!keys_.empty()) {
                const JourneyKey key = keys_.front();
                keys_.pop_front();
                act(key);
            }
            if (ship.autopilot && ticks_ % 10 == 0) autopilotStep();
            frame();
            ++ticks_;
        },
        [this] { timer.set(false); });
}

void StarJourney::frame() {
    if (ticks_ % 4 == 0) {
        ship.pitch = wrapDegrees(ship.pitch + ship.pitchRate);
        ship.yaw = wrapDegrees(ship.yaw + ship.yawRate);
        ship.roll = wrapDegrees(ship.roll + ship.rollRate);
    }
    if (floating_ != 0) {
        ship.x += ship.vx / 2;
        ship.y += ship.vy / 2;
        ship.z += ship.vz / 2;
    }
    ship.cx += ship.cxDrift;
    ship.cy += ship.cyDrift;
    ship.eye += ship.eyeDrift;
    if (ticks_ % 2 == 0) scene();
    updateTexts();
    // The map opens over ten ticks and closes over ten; an open map is drawn anew every 20 ticks.
    const bool mapDue = mapState_ > 1 || (mapState_ == 1 && ticks_ % 20 == 0);
    if (mapDue) ship.energy -= ship.autopilot ? 10 : 1;
    if (mapState_ != 0 && picture_ && (mapDue || mapState_ < 0 || ticks_ % 2 == 0)) {
        const int size = mapState_ > 0 ? 400 / mapState_ : 40 * -mapState_;
        drawJourneyMap(*picture_, size, *layout_, look_, gates_, destination_, ship.x, ship.y);
    }
    if (mapState_ > 1) --mapState_;
    else if (mapState_ < 0) ++mapState_;
}

void StarJourney::scene() {
    if (capacityRadar_ != radar_) {
        // A failed allocation retries smaller; objects beyond the array are not drawn.
        std::size_t wanted = static_cast<std::size_t>(radar_) * 10;
        for (;;) {
            try {
                objects_.reserve(wanted + 16);
                break;
            } catch (const std::bad_alloc&) {
                if (wanted <= 100) throw;
                wanted -= 100;
            }
        }
        capacity_ = wanted;
        capacityRadar_ = radar_;
    }
    const fileInfo* gate = ship.nextGate < static_cast<int>(gates_.size()) ? gates_[static_cast<std::size_t>(ship.nextGate)] : nullptr;
    markers_ = buildScene(*layout_, look_, ship.y, radar_, capacity_, gate, destination_, ticks_, objects_);
    if (markers_.firstRow < 0) {
        // The ship has left the universe: it is put back, 100 at a time, till a row is near again.
        if (horizonCrossings_++ == 0) {
            timer.set(false);
            if (showCheck(QStringLiteral("メタ宇宙の旅を終了しますか？(はい／いいえ)"), QStringLiteral("宇宙の地平線を超えました！"), 21) == 1) {
                ship.autopilot = true;
                switchPilot();
                startClosing();
            }
            timer.set(true);
        }
        ship.nextGate = 0;
        const double needed = -16.0 * (layout_->rowCount() - 1) - 480;
        const double steps = std::max(1.0, std::floor((needed - ship.y) / 100) + 1);
        ship.y += 100 * steps;
        ship.vy = 1;
        gate = gates_.empty() ? nullptr : gates_.front();
        markers_ = buildScene(*layout_, look_, ship.y, radar_, capacity_, gate, destination_, ticks_, objects_);
    }
    if (picture_) {
        JourneyCamera camera{ship.x, ship.y, ship.z, ship.yaw, ship.pitch, ship.roll, ship.eye, ship.cx, ship.cy};
        drawJourneyFrame(*picture_, objects_, camera, FrameLook{ticks_, ship.returning != 0});
    }
    const int gateCount = static_cast<int>(gates_.size());
    if (ship.nextGate < gateCount && withinTolerance(markers_.gateLabel)) {
        ++ship.nextGate;
        ship.energy += 1000;
        if (ship.nextGate < gateCount)
            message(QStringLiteral("宇宙管理局のスターゲイト通行許可が出ました. "),
                    QStringLiteral("スターゲイト_%1 へ向けて出発します. ").arg(ship.nextGate + 1));
        else
            message(QStringLiteral("宇宙管理局の最終スターゲイト通行許可が出ました. "), QStringLiteral("イスカンダル星へ向けて出発します. "));
    } else if (ship.nextGate >= gateCount && !ship.returning && withinTolerance(markers_.destination)) {
        ship.returning = 1;
        bool home = mode_ == 2;
        if (!home) {
            timer.set(false);
            home = showCheck(QStringLiteral("地球へ帰還しますか？ (はい) 帰還 (いいえ)旅の終了"), QStringLiteral("イスカンダル星に着きました. "), 21) == 1;
            if (!home) {
                ship.autopilot = true;
                switchPilot();
                startClosing();
            }
            timer.set(true);
        }
        if (home) {
            ship.vy = 10;
            message(QStringLiteral("放射能除去装置を受け取りました. "), QStringLiteral("地球に帰還します. "));
        }
    } else if (ship.returning && closing_ == 0 && withinTolerance(markers_.earth)) {
        if (mode_ == 2) {
            message(QStringLiteral("青く美しい 地球に戻りました.  "), QStringLiteral("メタ宇宙の旅を終了します. "));
        } else {
            timer.set(false);
            showCheck(QStringLiteral("メタ宇宙の旅を終了します. "), QStringLiteral("青く美しい 地球に戻りました. "), 20);
            timer.set(true);
        }
        startClosing();
    }
}

void StarJourney::offsetTo(const JourneyObject& o, int64_t& dx, int64_t& dy, int64_t& dz) const {
    dx = trunc64(o.x0) - trunc64(ship.x);
    dy = trunc64(o.y0) - trunc64(ship.y);
    dz = trunc64(o.z0) - trunc64(ship.z);
}

bool StarJourney::withinTolerance(int objectIndex) const {
    if (objectIndex < 0 || objectIndex >= static_cast<int>(objects_.size())) return false;
    const int64_t tolerance = ship.autopilot ? 3 : 30;
    int64_t dx, dy, dz;
    offsetTo(objects_[static_cast<std::size_t>(objectIndex)], dx, dy, dz);
    return std::abs(dx) < tolerance && std::abs(dy) < tolerance && std::abs(dz) < tolerance;
}

void StarJourney::autopilotStep() {
    int target = -1;
    if (ship.nextGate < static_cast<int>(gates_.size())) target = markers_.gateLabel;
    else target = ship.returning ? markers_.earth : markers_.destination;
    const double vx = ship.vx, vy = ship.vy, vz = ship.vz;
    if (target < 0 || target >= static_cast<int>(objects_.size())) {
        if (ship.vy > -10) ship.vy -= 1;
    } else {
        int64_t dx, d, dz;
        offsetTo(objects_[static_cast<std::size_t>(target)], dx, d, dz);
        const int64_t e = std::abs(d), f = std::abs(dx);
        ship.vy = steer(ship.vy, d, topSpeed_);
        ship.vx = (f < 3 || (e >= 1000 && e / 5 >= f)) ? 0 : steer(ship.vx, dx, topSpeed_);
        ship.vz = (e >= 120 || f >= 120) ? 0 : steer(ship.vz, dz, topSpeed_);
    }
    if (vx != ship.vx || vy != ship.vy || vz != ship.vz) ship.energy -= 20;
}

void StarJourney::updateTexts() {
    JourneyTexts& t = texts_;
    t.pitchValue = pair(ship.pitchRate, ship.pitch);
    t.yawValue = pair(ship.yawRate, ship.yaw);
    t.moveX = pair(trunc64(ship.vx), trunc64(ship.x));
    t.moveY = pair(-trunc64(ship.vy), -trunc64(ship.y));
    t.moveZ = pair(trunc64(ship.vz), trunc64(ship.z));
    t.radarMax = pair(static_cast<int64_t>(objects_.size()), radar_);
    t.infoTop = QString::asprintf("T=%3lld    E=%6lld       右 %4d  前 %4d  上 %4d ", static_cast<long long>(ticks_ / 20),
                                  static_cast<long long>(ship.energy), int(trunc64(ship.vx)), int(-trunc64(ship.vy)),
                                  int(trunc64(ship.vz)));
    t.aiGreen = ticks_ % 100 >= 50;
    t.infoBottomAlternate = false;
    const int gateCount = static_cast<int>(gates_.size());
    int target = -1;
    QString head;
    if (ship.nextGate < gateCount) {
        target = markers_.gateLabel;
        head = QStringLiteral("スターゲイト_%1").arg(ship.nextGate + 1);
        if (target < 0) {
            t.infoBottom = head + QStringLiteral(" （確認中...）");
            t.infoBottomAlternate = (ticks_ / 20) % 2 == 1;
            for (AxisColour& a : t.axis) a = AxisColour::Red;
            if (ship.autopilot) ship.vz = ship.z < 200 ? 1 : 0;
            return;
        }
        head += u' ';
    } else {
        target = ship.returning ? markers_.earth : markers_.destination;
        head = ship.returning ? QStringLiteral("　テラへ　　　 ") : QStringLiteral("イスカンダル星 ");
    }
    if (target < 0 || target >= static_cast<int>(objects_.size())) {
        t.infoBottom = head;
        return;
    }
    int64_t dx, dy, dz;
    offsetTo(objects_[static_cast<std::size_t>(target)], dx, dy, dz);
    dy = -dy; // measured forward
    t.infoBottom = head + QString::asprintf("%8lld %8lld %8lld", static_cast<long long>(dx), static_cast<long long>(dy),
                                            static_cast<long long>(dz));
    if (ship.nextGate >= gateCount) t.infoBottom += u' ';
    t.axis[0] = axisColour(dx);
    t.axis[1] = axisColour(dy);
    t.axis[2] = axisColour(dz);
}
