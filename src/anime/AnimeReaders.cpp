#include "AnimeReaders.h"

#include "AnimeBlockInput.h"
#include "AnimeCanvas.h"
#include "AnimeFiles.h"
#include "AnimeHost.h"
#include "AnimeState.h"
#include "common/Fetch.h"
#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <QImage>

namespace {

constexpr int kMaxMessageCount = 10000;

// The optional zoom and repetition of a picture declaration: a zoom is 1..1000 or -1000..-2,
// a repetition 1..1000; anything else gives 1.
struct PictureScale {
    int zoomX = 1, zoomY = 1, multX = 1, multY = 1;
};

int zoomOrOne(std::optional<double> v) {
    if (!v) return 1;
    const int64_t n = truncToInt64(*v);
    return ((n >= 1 && n <= 1000) || (n >= -1000 && n <= -2)) ? int(n) : 1;
}
int multOrOne(std::optional<double> v) {
    if (!v) return 1;
    const int64_t n = truncToInt64(*v);
    return (n >= 1 && n <= 1000) ? int(n) : 1;
}

// Reads zoomX, zoomY, multX, multY while fields are there and `accept` takes them.
template <typename Accept>
PictureScale readScale(ParamFields& fields, AnimeBlockInput& input, Accept accept) {
    PictureScale s;
    int* targets[4] = {&s.zoomX, &s.zoomY, &s.multX, &s.multY};
    for (int i = 0; i < 4; ++i) {
        const auto peeked = fields.peek();
        if (isEmptyParam(peeked) || !accept(*peeked)) break;
        fields.next();
        const auto v = input.evaluate(*peeked);
        *targets[i] = i < 2 ? zoomOrOne(v) : multOrOne(v);
    }
    return s;
}

int32_t dotColor(const AnimeState& state, QChar ch) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9') return int32_t(state.paletteColor(c - u'0'));
    if (c >= u'A' && c <= u'F') return int32_t(state.paletteColor(c - u'A' + 10));
    if (c >= u'a' && c <= u'f') return int32_t(state.paletteColor(c - u'a' + 10));
    return -1;
}

// The common parameters of BitMap and DotPtn after the name and size.
struct Placement {
    int lft = 0, top = 0, rev = 0, mvx = 0, mvy = 0, kom = 0, disp = 0;
};

Faulty readPlacement(ParamFields& fields, AnimeBlockInput& input, Placement& p) {
    struct Rule {
        int* target;
        int64_t lo, hi;
        const char* name;
    } rules[] = {{&p.lft, -kPlaceLimit, kPlaceLimit, "lft"}, {&p.top, -kPlaceLimit, kPlaceLimit, "top"},
                 {&p.rev, 0, 1, "rev"},
                 {&p.mvx, -kRateLimit, kRateLimit, "mvx"}, {&p.mvy, -kRateLimit, kRateLimit, "mvy"},
                 {&p.kom, 0, 100, "kom"},
                 {&p.disp, 0, 255, "disp"}};
    for (const Rule& r : rules) {
        const auto n = readIntParam(fields, input, r.lo, r.hi);
        if (!n) return QString::fromLatin1(r.name);
        *r.target = int(*n);
    }
    return std::nullopt;
}

AnimeInfo& createPicture(AnimeState& state, const QString& name, const Placement& p, const PictureScale& s,
                         int width, int height) {
    AnimeInfo& c = state.createCharacter(name, p.lft, p.top, s.zoomX, s.zoomY, width, height);
    state.setSameNameIndex(c, state.sameNameCount(c));
    c.multX = s.multX;
    c.multY = s.multY;
    c.declaredMvx = p.mvx;
    c.declaredMvy = p.mvy;
    c.setVelocity(p.mvx, p.mvy, 0);
    c.frameCount = p.kom;
    c.disp = p.disp;
    return c;
}

// A file name field without its surrounding double quotes.
QString unquoted(QString name) {
    name = name.trimmed();
    if (name.startsWith(u'"')) name.remove(0, 1);
    if (name.endsWith(u'"')) name.chop(1);
    return name;
}

// The file names of comma fields, each without its quotes.
QStringList namesOfFields(const QString& line) {
    QStringList names;
    ParamFields fields(line);
    while (auto f = fields.next())
        if (!isEmptyParam(f)) names.append(unquoted(*f));
    return names;
}

// The file names of a following line: a quoted line holds one name (up to its closing quote).
QStringList fileNamesOf(const QString& line) {
    if (line.startsWith(u'"')) {
        const qsizetype close = line.indexOf(u'"', 1);
        return {close < 0 ? line.mid(1) : line.mid(1, close - 1)};
    }
    return namesOfFields(line);
}

} // namespace

std::optional<QString> ParamFields::next() {
    if (ended_) return std::nullopt;
    QString field = rest_;
    if (const auto after = cutField(field)) {
        rest_ = *after;
    } else {
        ended_ = true;
        rest_.clear();
    }
    return field;
}

std::optional<QString> ParamFields::peek() const {
    ParamFields copy = *this;
    return copy.next();
}

bool isEmptyParam(const std::optional<QString>& field) {
    return !field || field->isEmpty() || field->at(0).unicode() < 0x20;
}

std::optional<int64_t> readIntParam(ParamFields& fields, AnimeBlockInput& input, int64_t lo, int64_t hi) {
    const auto field = fields.next();
    if (isEmptyParam(field)) return std::nullopt;
    const auto v = input.evaluate(*field);
    if (!v || input.status() == RunStatus::NoValue) return std::nullopt;
    const int64_t n = truncToInt64(*v);
    if (n < lo || n > hi) return std::nullopt;
    return n;
}

Faulty readDotPtn(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto wid = readIntParam(fields, input, 1, 1000);
    if (!wid) return QStringLiteral("wid");
    const auto hei = readIntParam(fields, input, 1, 1000);
    if (!hei) return QStringLiteral("hei");
    Placement p;
    if (auto faulty = readPlacement(fields, input, p)) return faulty;
    const PictureScale scale = readScale(fields, input, [](const QString&) { return true; });

    const int w = int(*wid), h = int(*hei), kom = p.kom;
    // A picture beyond the animation's dot budget is refused before anything is allocated.
    if (!state.reservePixels(int64_t(w) * h * kom)) return QStringLiteral("kom");
    AnimeInfo& c = createPicture(state, name, p, scale, w, h);
    c.allocatePixels(kom, h, w);

    bool wide = false;
    for (int f = 0; f < kom && !wide; ++f) {
        for (int y = 0; y < h; ++y) {
            std::optional<QString> line;
            while ((line = input.nextDataLine()) && line->size() < w) {
            }
            if (!line) return std::nullopt; // the block ended: the rest stays transparent
            const QString& row = *line;
            auto put = [&](int frame, int x, qsizetype at) {
                const int column = p.rev ? w - 1 - x : x;
                c.pixels[(size_t(frame) * size_t(h) + size_t(y)) * size_t(w) + size_t(column)] =
                    at < row.size() ? dotColor(state, row[at]) : -1;
            };
            if (row.size() < int64_t(kom) * w) {
                for (int x = 0; x < w; ++x) put(f, x, x);
            } else {
                // One row of every frame side by side; dots missing at the end are transparent.
                wide = true;
                for (int g = 0; g < kom; ++g)
                    for (int x = 0; x < w; ++x) put(g, x, qsizetype(w + 1) * g + x);
            }
        }
    }
    return std::nullopt;
}

Faulty readBitMap(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    Placement p;
    if (auto faulty = readPlacement(fields, input, p)) return faulty;
    // A number begins below ':' (digit, sign, '#' of an evaluated value); a quoted file name
    // begins below it too but is never a number.
    const PictureScale scale =
        readScale(fields, input, [](const QString& f) { return f.at(0) < u':' && f.at(0) != u'"'; });

    QStringList names = namesOfFields(fields.rest());
    if (names.isEmpty() || (p.kom >= 2 && names.size() < 2)) {
        const auto line = input.nextDataLine();
        if (!line) return std::nullopt; // the block ended: nothing is created
        names = fileNamesOf(*line);
    }
    const QString base = input.programBase();
    const bool remote = isHttpLocation(base);
    if (names.isEmpty()) return QStringLiteral("koma");
    if (!remote && !fileExists(animeDataPath(base, names.first()))) return QStringLiteral("koma");

    AnimeInfo& c = createPicture(state, name, p, scale, 1, 1);
    for (int f = 0; f < p.kom; ++f) {
        while (names.isEmpty()) {
            const auto line = input.nextDataLine();
            if (!line) return std::nullopt;
            names = fileNamesOf(*line);
        }
        const QString path = animeDataPath(base, names.takeFirst());
        QImage picture;
        const int64_t room = state.pixelBudget - state.pixelsUsed;
        FileFault fault = FileFault::None;
        const FrameLoad load = loadBmpFrame(path, f == 0 ? room / std::max(p.kom, 1) : int64_t(c.width) * c.height, picture, &fault);
        if (load == FrameLoad::Missing) return std::nullopt; // the frames not loaded stay transparent
        // The line's fault alone would not tell a locked file or a pipe from a broken picture.
        if (fault != FileFault::None) showCheck(fileFaultText(fault), path, 0);
        if (load == FrameLoad::Unreadable || (f == 0 && load != FrameLoad::Ok)) return QStringLiteral("file");
        if (f == 0) {
            if (!state.reservePixels(int64_t(picture.width()) * picture.height() * p.kom)) return QStringLiteral("file");
            c.width = picture.width();
            c.height = picture.height();
            c.allocatePixels(p.kom, c.height, c.width);
        } else if (load == FrameLoad::TooLarge || picture.width() != c.width || picture.height() != c.height) {
            showCheck(QStringLiteral("ＢＭＰファイルのサイズが不揃いです！"), QStringLiteral("ビットマップの設定"), 0);
            return QStringLiteral("file");
        }
        // A picture narrower than three dots has no key pixel and so no transparent colour.
        const bool keyed = picture.width() > 2;
        const QRgb key = keyed ? picture.pixel(2, 0) : 0;
        for (int y = 0; y < c.height; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            int32_t* out = c.pixels.data() + (size_t(f) * size_t(c.height) + size_t(y)) * size_t(c.width);
            for (int x = 0; x < c.width; ++x) {
                const QRgb rgb = line[x];
                const int column = p.rev ? c.width - 1 - x : x;
                out[column] = (keyed && rgb == key) ? -1 : int32_t(colorOfRgb(rgb));
            }
        }
    }
    return std::nullopt;
}

Faulty readMessage(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto lft = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!lft) return QStringLiteral("lft");
    const auto top = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!top) return QStringLiteral("top");
    const auto width = readIntParam(fields, input, 1, 400);
    if (!width) return QStringLiteral("width");
    const auto font = readIntParam(fields, input, 1, 400);
    if (!font) return QStringLiteral("font");
    const auto color = readIntParam(fields, input, -1, state.highestColor);
    if (!color) return QStringLiteral("color");
    const auto bgcolor = readIntParam(fields, input, -2, state.highestColor);
    if (!bgcolor) return QStringLiteral("bgcolor");
    QString text = fields.next().value_or(QString());
    if (text.startsWith(u'#')) text = numberText(input.evaluate(text).value_or(0));
    int64_t count = 1;
    if (const auto field = fields.next(); !isEmptyParam(field)) {
        count = truncToInt64(input.evaluate(*field).value_or(1));
        if (count > kMaxMessageCount) return QStringLiteral("count");
    }
    int firstIndex = 0;
    for (int64_t i = 0; i < std::max<int64_t>(count, 1); ++i) {
        AnimeInfo& c = state.createCharacter(name, int(*lft), int(*top), 1, 1, int(*width), int(*font));
        // The copies follow each other, so their indexes do too (no scan per copy).
        if (i == 0) firstIndex = state.sameNameCount(c);
        state.setSameNameIndex(c, firstIndex + int(i));
        c.colorNumber = int(*color);
        c.backColorNumber = int(*bgcolor);
        c.textColor = *color < 0 ? state.bgColor : state.paletteColor(int(*color));
        c.backColor = *bgcolor == -2 ? -2 : (*bgcolor == -1 ? int64_t(state.bgColor) : int64_t(state.paletteColor(int(*bgcolor))));
        c.setText(text);
    }
    return std::nullopt;
}

Faulty readNebu(AnimeState& state, AnimeBlockInput& input, const QString& params, int mode) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    auto unquote = [](QString t) {
        t = t.trimmed();
        if (t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"')) t = t.mid(1, t.size() - 2);
        return t;
    };
    const QString folderName = unquote(fields.next().value_or(QString()));
    const QString options = unquote(fields.next().value_or(QString()));
    AnimeInfo& c = state.createCharacter(name, 0, 0, 1, 1, 640, 400);
    state.setSameNameIndex(c, state.sameNameCount(c));
    // The universe window scans a place in the file system, so a folder under a program given
    // by a relative path becomes absolute.
    // A program given without a folder has an empty base: its universe lies in the current folder.
    const QString base = input.programBase();
    QString folder = folderName.contains(u':') || base.isEmpty() ? folderName : animeDataPath(base, folderName);
    if (!isHttpLocation(folder) && !folder.contains(u':')) folder = absolutePath(folder);
    if (state.host) c.kind = state.host->openUniverseWindow(c, folder, options, mode);
    c.chaseMode = 1;
    return std::nullopt;
}
