#include "AnimeEngine.h"

#include "AnimeBlock.h"
#include "AnimeBlockInput.h"
#include "AnimeMotion.h"
#include "AnimeSettings.h"
#include "common/Numbers.h"
#include "script/kestoBasInfo.h"
#include "script/KestoCodes.h"
#include "script/KeywordTables.h"

namespace {

// The text of a name parameter: a declared name or keyword code gives its text; plain text loses
// one pair of surrounding double quotes.
QString nameTextOf(const kestoBasInfo& k, QStringView field) {
    QStringView name = field.trimmed();
    if (name.size() == 1) {
        const char16_t c = name[0].unicode();
        if (c >= code::NameFirst) return k.nameOf(c - code::NameFirst); // shared, not copied
        if (const KeywordEntry* keyword = keywordOfCode(c)) return keyword->standard.toString();
    }
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) name = name.mid(1, name.size() - 2);
    return name.toString();
}

// The interpreter's compiled block as the animation reader sees it.
class ScriptBlockInput : public AnimeBlockInput {
public:
    ScriptBlockInput(kestoBasInfo& k, progInfo* first) : k_(k), current_(first), look_(first) {}

    std::optional<QString> nextStatement() override {
        QString command;
        if (k_.readStatement(command, current_) != 0) return std::nullopt;
        look_ = current_;
        return command;
    }
    std::optional<QString> nextDataLine() override {
        if (!look_) return std::nullopt;
        const QString code = look_->code;
        look_ = look_->next;
        return code;
    }
    std::optional<double> evaluate(const QString& field) override {
        QString text = field.trimmed();
        const double v = k_.evalValue(&text);
        if (k_.status == RunStatus::NoValue) return std::nullopt;
        return v;
    }
    QString nameText(const QString& field) override { return nameTextOf(k_, field); }
    QString programBase() const override { return k_.programFolder; }
    int lineNumber() const override { return k_.currentLineNumber(); }
    QString lineText() const override { return k_.currentLine ? k_.currentLine->source : QString(); }
    int status() const override { return k_.status; }
    void setStatus(int status) override { k_.status = status; }
    bool readData(const QString& params) override {
        const bool read = k_.readData(params, current_) == 0;
        look_ = current_;
        return read;
    }
    // Where the rows read by nextDataLine end, for a statement that consumes them.
    progInfo* afterData() const { return look_; }

private:
    kestoBasInfo& k_;
    progInfo* current_;
    progInfo* look_;
};

} // namespace

void AnimeEngine::resetAnimation(kestoBasInfo& interpreter) {
    state.valueSlots = interpreter.valueSlots;
    ::resetAnimation(state);
}

void AnimeEngine::clearPendingCamera() { view.shiftX = view.shiftY = 0; }

int AnimeEngine::runAnimeSet(kestoBasInfo& interpreter, progInfo* first) {
    state.valueSlots = interpreter.valueSlots;
    ScriptBlockInput input(interpreter, first);
    return ::runAnimeSet(state, input);
}

void AnimeEngine::rebuildNameIndex(kestoBasInfo&) { state.rebuildNameIndex(); }

bool AnimeEngine::setUserValue(QStringView name, int sameNameIndex, int index, double value) {
    AnimeInfo* c = state.findCharacter(name.toString(), sameNameIndex);
    return c && c->setUserValue(index, value);
}

bool AnimeEngine::userValue(QStringView name, int sameNameIndex, int index, double* value) const {
    const AnimeInfo* c = state.lookupCharacter(name.toString(), sameNameIndex);
    if (!c || index < 0 || index >= int(c->userValues.size())) return false;
    *value = c->userValues[size_t(index)];
    return true;
}

void AnimeEngine::advanceFrame(const kestoBasInfo& interpreter) { ::advanceFrame(state, view, interpreter.status); }

AnimeInfo* AnimeEngine::findNamed(kestoBasInfo& interpreter, QStringView field) {
    const QStringView t = field.trimmed();
    const qsizetype open = t.indexOf(u'[');
    if (open < 0) return state.findCharacter(nameTextOf(interpreter, t), 0);
    const qsizetype close = t.indexOf(u']', open + 1);
    if (close < 0) return nullptr; // an unclosed index names no character: the command fails
    const int index = truncToInt(interpreter.evalCopy(t.mid(open + 1, close - open - 1).trimmed()));
    return state.findCharacter(nameTextOf(interpreter, t.left(open)), index);
}

std::optional<QString> AnimeEngine::applySetting(kestoBasInfo& interpreter, int setting, const QString& params,
                                                progInfo*& current) {
    ScriptBlockInput input(interpreter, current);
    const AnimeEvaluate evaluate = evaluatorOf(interpreter);
    switch (setting) {
    case Setting::BgColor: return setBgColor(state, input, params) ? std::optional<QString>(QString()) : std::nullopt;
    case Setting::Color: return setPaletteColor(state, input, params) ? std::optional<QString>(QString()) : std::nullopt;
    case Setting::Canvas:
    case Setting::Window: return setCanvas(state, input, params);
    case Setting::Frame: return setFrame(state, input, params);
    case Setting::FramePtn:
        if (setFramePattern(state, input, params)) return std::nullopt;
        current = input.afterData();
        return QString();
    case Setting::WallColor: return setWallColor(state, input, params);
    case Setting::Camera: return view.setCamera(params, evaluate);
    case Setting::WinRotation: return view.setWinRotation(params, evaluate);
    case Setting::Wzoom: return view.setWzoom(params, evaluate);
    case Setting::ViewPoint: return view.setViewPoint(params, evaluate);
    default: return params;
    }
}

AnimeEvaluate AnimeEngine::evaluatorOf(kestoBasInfo& interpreter) {
    return [&interpreter](const QString& field) -> std::optional<double> {
        QString text = field.trimmed();
        const double v = interpreter.evalValue(&text);
        if (interpreter.status == RunStatus::NoValue) return std::nullopt;
        return v;
    };
}
