#include "ScriptBlockInput.h"

#include "script/KeywordTables.h"
#include "script/kestoBasInfo.h"

ScriptBlockInput::ScriptBlockInput(kestoBasInfo& interpreter, progInfo* first)
    : k_(interpreter), current_(first) {}

std::optional<QString> ScriptBlockInput::nextStatement() {
    QString out;
    if (!current_ || k_.readStatement(out, current_) != 0) {
        if (onStatement) onStatement(0);
        return std::nullopt;
    }
    look_ = current_;
    if (onStatement) onStatement(out.isEmpty() ? char16_t(0) : out[0].unicode());
    return out;
}

std::optional<QString> ScriptBlockInput::nextDataLine() {
    if (!look_) return std::nullopt;
    const QString line = look_->code;
    look_ = look_->next;
    return line;
}

std::optional<double> ScriptBlockInput::evaluate(const QString& field) { return valueOfField(k_, field); }

QString ScriptBlockInput::nameText(const QString& field) { return nameOfField(k_, field); }

QString ScriptBlockInput::programBase() const { return k_.programFolder; }

int ScriptBlockInput::lineNumber() const { return k_.currentLineNumber(); }

QString ScriptBlockInput::lineText() const { return k_.currentLine ? k_.currentLine->source : QString(); }

int ScriptBlockInput::status() const { return k_.status; }

void ScriptBlockInput::setStatus(int status) { k_.status = status; }

bool ScriptBlockInput::readData(const QString& params) {
    if (!current_) return false;
    const bool read = k_.readData(params, current_) == 0;
    look_ = current_;
    return read;
}

QString ScriptBlockInput::nameOfField(const kestoBasInfo& k, const QString& field) {
    const QString t = field.trimmed();
    if (t.isEmpty()) return t;
    const char16_t c = t[0].unicode();
    if (c >= code::NameFirst) return k.nameOf(c - code::NameFirst);
    if (c >= 0x3000 && c < 0x4000) {
        const KeywordEntry* entry = keywordOfCode(c);
        return entry ? entry->standard.toString() : QString();
    }
    if (c == u'"') {
        const qsizetype close = t.indexOf(u'"', 1);
        return t.mid(1, close < 0 ? -1 : close - 1);
    }
    return t;
}

std::optional<double> ScriptBlockInput::valueOfField(kestoBasInfo& k, const QString& field) {
    QString t = field.trimmed();
    if (t.isEmpty() || t[0].unicode() < 0x20) {
        if (k.status == 0) k.status = -1;
        return std::nullopt;
    }
    const double v = k.evalValue(&t);
    if (k.status < 0) return std::nullopt;
    if (t.size() != 2 || t[0] != u'#') {
        if (k.status == 0) k.status = -1;
        return std::nullopt;
    }
    return v;
}
