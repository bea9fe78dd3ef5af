// Declaration readers of the picture, text and window kinds. Each reads the parameter text of
// its line (and the lines that follow, for rows and file names), creates its characters in the
// animation and returns nothing on success, else the name of the faulty parameter.
#pragma once

#include <QString>
#include <optional>

class AnimeBlockInput;
class AnimeState;

using Faulty = std::optional<QString>;

// DotPtn: name, wid, hei, lft, top, rev, mvx, mvy, kom, disp [, zoomX, zoomY, multX, multY],
// then the rows. Cost: linear in the rows read and the pixels.
Faulty readDotPtn(AnimeState& state, AnimeBlockInput& input, const QString& params);
// BitMap: name, lft, top, rev, mvx, mvy, kom, disp [, zoomX, zoomY, multX, multY], file names.
// Cost: the frame files' sizes.
Faulty readBitMap(AnimeState& state, AnimeBlockInput& input, const QString& params);
// Message: name, lft, top, width, font, color, bgcolor, text [, count]. Cost: linear in count.
Faulty readMessage(AnimeState& state, AnimeBlockInput& input, const QString& params);
// nebu (mode 0) or startrek (mode 1): name, folder [, options]; never fails.
Faulty readNebu(AnimeState& state, AnimeBlockInput& input, const QString& params, int mode);

// Splits the parameter text into fields as the block reader does (cutField).
class ParamFields {
public:
    explicit ParamFields(QString text) : rest_(std::move(text)) {}
    // The next field, or nothing when the text is used up.
    std::optional<QString> next();
    // The next field without taking it.
    std::optional<QString> peek() const;
    bool atEnd() const { return ended_; }
    // The text after the fields taken so far.
    const QString& rest() const { return rest_; }

private:
    QString rest_;
    bool ended_ = false;
};

// A parameter is empty when it is missing or its first character is below 0x20.
bool isEmptyParam(const std::optional<QString>& field);

// Takes the next field as a whole number in lo..hi; nothing when missing, not evaluable or
// out of range.
std::optional<int64_t> readIntParam(ParamFields& fields, AnimeBlockInput& input, int64_t lo, int64_t hi);
