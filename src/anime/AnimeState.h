// The animation of one work: its characters (owned, in creation order), the name index, the
// palette, background colour, frame pattern, theme and charges. The interpreter owns one and
// the setting, reader, motion and drawing operations work on it.
#pragma once

#include "AnimeInfo.h"

#include <span>

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AnimeBlockInput;
class AnimeHost;

// Reader of a kind's declaration line; nothing on success, else the faulty parameter's name.
using AnimeKindReader = std::function<std::optional<QString>(AnimeState&, AnimeBlockInput&, const QString&)>;

// One charge of the charge list (declared by a Coulomb character).
struct AnimeCharge {
    AnimeInfo* owner = nullptr; // the character whose position the charge has
    double charge = 0;
};

struct FramePattern {
    int width = 0, height = 0;
    std::vector<int> cells; // height rows of width cells, -1 empty or a colour number 1..15
};

class AnimeState {
public:
    AnimeState();
    ~AnimeState();
    AnimeState(const AnimeState&) = delete;
    AnimeState& operator=(const AnimeState&) = delete;

    // Appends a character with the initial values, the serial and the given name (an empty name
    // becomes "anime_%04d" with the serial). The same-name index is left to the reader.
    // A new generation. Cost: constant (amortised).
    AnimeInfo& createCharacter(const QString& name, int lft, int top, int zoomX, int zoomY, int width,
                               int height);
    // Number of characters before `c` whose name equals c's name (ASCII case folded). Cost:
    // constant for the character made last (the readers' case), else linear.
    int sameNameCount(const AnimeInfo& c) const;
    // Sets c's place among the characters of its name (c belongs to this state); a new generation.
    // Cost: constant.
    void setSameNameIndex(AnimeInfo& c, int index);
    // Refills the name index and sorts it by name, then serial; a new generation. Cost: O(n log n).
    void rebuildNameIndex();
    // The character of that name and same-name index (index < 0: any of the name). When there is
    // none, logs "アニメキャラ（ name[index] ）は設定されていません！" and returns nullptr.
    // Cost: O(log n) on the name index.
    AnimeInfo* findCharacter(const QString& name, int index);
    // The same lookup without a message. Cost: O(log n).
    AnimeInfo* lookupCharacter(const QString& name, int index) const;
    // Changes whenever the answer of a lookup may change: a character made or destroyed, the name
    // index rebuilt, a same-name index set. No two states (nor two generations of one) share a
    // value, and none is 0, so a lookup cached with its generation is valid while they are equal.
    // Cost: constant.
    uint64_t generation() const { return generation_; }

    // Palette entry n (0x00BBGGRR); 0 for numbers outside the palette. Cost: constant.
    uint32_t paletteColor(int n) const {
        return (n >= 0 && size_t(n) < palette.size()) ? palette[size_t(n)] : 0;
    }
    // Sets palette entry n (0..65535), growing the palette to n - n mod 256 + 512 entries when n
    // is beyond it; raises the highest colour number. False when n is out of range.
    bool setPaletteColor(int n, uint32_t color);
    // Destroys every character (last to first), the charges, the name index, a grown palette (back to
    // 16 black entries, the highest colour number back to 15), the frame pattern and the theme.
    // The background colour stays; a new generation. Cost: linear in the characters and pixels.
    void reset();

    // Reserves pixels from the animation's budget; false (nothing reserved) when they do not fit.
    bool reservePixels(int64_t count);
    // A line for the palette's message list (the host's, else kept in `log`).
    void logMessage(const QString& line);

private:
    // Changed only through the methods above, each of which starts a new generation.
    std::vector<std::unique_ptr<AnimeInfo>> characters_;
    std::vector<AnimeInfo*> nameIndex_;
    uint64_t generation_;

public:
    // The characters in creation order and the name index (sorted by name, then serial), to read.
    const std::vector<std::unique_ptr<AnimeInfo>>& characters = characters_;
    const std::vector<AnimeInfo*>& nameIndex = nameIndex_;
    // Characters per ASCII-folded name, so that declaring many characters costs linear time.
    QHash<QString, int> nameCounts;
    std::vector<uint32_t> palette;
    bool paletteGrown = false;
    int highestColor = 15;
    uint32_t bgColor = 0;
    std::optional<FramePattern> framePattern;
    std::optional<QString> theme;
    std::vector<std::unique_ptr<AnimeCharge>> charges;
    // The value slots that SetVal fills and getval reads: the interpreter's own once an engine
    // reads its program, so both sides see one store; a state that no program drives keeps its own.
    std::array<double, kValueSlots> ownValueSlots{};
    std::span<double, kValueSlots> valueSlots{ownValueSlots};
    int64_t pixelBudget = int64_t(32) << 20; // dots of all pictures of the animation
    int64_t pixelsUsed = 0;
    // Canvas and frame of the work window, as the settings left them.
    int canvasWidth = 0, canvasHeight = 0; // 0: not yet set
    int zoomPercent = 100;
    int leftOffset = 50;
    int frameWidth = 16;
    uint32_t frameColor = 0x808000;
    // Declaration readers of the kinds that other libraries provide (games, figures), by kind
    // number; the lines of a kind without one are reported as a faulty kind.
    std::array<AnimeKindReader, Kind::Count> kindReaders;
    AnimeHost* host = nullptr; // not owned
    QStringList log;           // message lines when there is no host
};
