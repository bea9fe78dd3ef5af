#include "AnimeCommands.h"

#include "CompiledCharacterCommand.h"
#include "WorkRunner.h"
#include "common/Numbers.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"
#include "common/Texts.h"
#include "script/KeywordTables.h"

namespace {

QString dequoted(QString text) {
    text = text.trimmed();
    if (text.startsWith(u'"')) text.remove(0, 1);
    if (text.endsWith(u'"')) text.chop(1);
    return text;
}

// The statement a setting came from, as its reports show it.
QString statementText(const kestoBasInfo& k, const QString& command) {
    return k.currentLine ? k.currentLine->source : command;
}

// The value of a compiled expression field by the interpreter's rule: an empty field is a missing
// parameter (the status then stops the run and the step executor names the line); any other
// field gives what stands second once it is reduced, so "2*-3", whose minus is no literal, is 2.
double valueOf(kestoBasInfo& k, QStringView field) {
    const QStringView t = field.trimmed();
    return t.isEmpty() ? k.evalValue(nullptr) : k.evalCopy(t);
}

// A chart's definition: the parameter itself ("400,300,0,text:...") or, when it has no comma, the
// name of a file beside the program that holds it. Nothing when that file cannot be read
// (reported).
std::optional<QString> chartDefinition(const kestoBasInfo& k, const QString& parameter) {
    if (parameter.contains(u',')) return parameter;
    QStringList lines;
    if (!loadTextLines(k.programFolder + parameter, lines)) {
        showCheck(parameter, QStringLiteral("メタチャートのファイルが読めません！"), 0);
        return std::nullopt;
    }
    return lines.join(u'\n');
}

} // namespace

int AnimeCommands::runTimingCommand(const QString& command, bool display) {
    if (command.isEmpty()) return 0;
    kestoBasInfo& k = w_.interpreter();
    WorkPaletteSide& palette = w_.palette();
    const int setting = settingOfCode(command[0]);
    if (setting < 0) return 0; // a character command, the most frequent: nothing to cut for it
    QString first = command.mid(2);
    const std::optional<QString> rest = cutField(first);
    switch (setting) {
    case Setting::Music: {
        const int count = truncToInt(valueOf(k, first));
        const QString file = rest ? dequoted(*rest) : QString();
        if (!file.isEmpty()) {
            palette.setMusic(count, file, k.programFolder);
        } else if (!palette.hasMusic()) {
            showCheck(statementText(k, command), QStringLiteral("曲名が設定されていません！"), 0);
            return -1;
        } else {
            palette.setMusicCount(count);
        }
        if ((palette.isCurrentWindow(w_) || palette.isTourWindow(w_)) && count >= 1) palette.startMusic();
        w_.showMusicPanel();
        return 1;
    }
    case Setting::metaChart: {
        const int seconds = truncToInt(valueOf(k, first));
        const QString file = rest ? dequoted(*rest) : QString();
        if (!file.isEmpty()) {
            const std::optional<QString> definition = chartDefinition(k, file);
            if (!definition) return -1;
            w_.setChart(std::make_unique<WorkChart>(metaChartInfo(*definition)));
        } else if (!w_.chart()) {
            showCheck(statementText(k, command), QStringLiteral("メタチャートデータが設定されていません！"), 0);
            return -1;
        } else {
            w_.chart()->showState = seconds;
        }
        if (WorkChart* chart = w_.chart()) {
            chart->seconds = seconds;
            if (seconds >= 1) w_.toggleChart(1);
        }
        return 1;
    }
    case Setting::AnimeTime:
    case Setting::TimeFlow: {
        const int period = truncToInt(valueOf(k, first));
        if (period >= 10 && period <= 10000 && palette.isCurrentWindow(w_)) {
            w_.setFramePeriod(period);
            palette.framePeriodChanged(period);
        }
        return 1;
    }
    case Setting::AcmdTime: {
        const int interval = truncToInt(valueOf(k, first));
        if (interval >= 10 && interval <= 10000) {
            w_.setProgramInterval(interval);
            if (display && palette.isCurrentWindow(w_)) palette.showProgramInterval(QString::number(interval));
        }
        bool lineDisplay = true;
        if (rest && !rest->trimmed().isEmpty()) {
            QString second = *rest;
            cutField(second);
            lineDisplay = truncToInt(valueOf(k, second)) != 0;
        }
        w_.setLineDisplay(lineDisplay);
        return 1;
    }
    default:
        return 0;
    }
}

int AnimeCommands::runCommand(const QString& command) {
    kestoBasInfo& k = w_.interpreter();
    QString text = command;
    for (;;) {
        qsizetype start = 0;
        // at(), not [], which would copy the text shared with the step executor's buffer.
        while (start < text.size() && text.at(start) == u' ') ++start;
        if (start >= text.size() || text.at(start) == u':' || text.at(start) == u'\'') return 0;
        const int setting = settingOfCode(text.at(start));
        switch (setting) {
        case Setting::Load: return 0; // its data was merged when the program was loaded
        case Setting::BgColor:
        case Setting::Color:
        case Setting::Camera:
        case Setting::Canvas:
        case Setting::Window:
        case Setting::Frame:
        case Setting::ViewPoint:
        case Setting::WallColor:
        case Setting::WinRotation:
        case Setting::Wzoom: {
            QString params = text.mid(start + 1);
            if (params.startsWith(u':') || params.startsWith(u',')) params.remove(0, 1);
            progInfo* current = k.currentStatement;
            const std::optional<QString> rest = w_.engine().applySetting(k, setting, params, current);
            // Colours end the command; a setting that read nothing more ends it as well.
            if (!rest || setting == Setting::BgColor || setting == Setting::Color) return 0;
            text = *rest;
            break;
        }
        default: {
            std::optional<QString> rest = runCharacterCommand(QStringView(text).mid(start));
            if (!rest) return 1;
            text = std::move(*rest);
        }
        }
        if (text.isEmpty()) return 0;
    }
}

std::optional<QString> AnimeCommands::runCharacterCommand(QStringView command) {
    kestoBasInfo& k = w_.interpreter();
    const qsizetype colon = command.indexOf(u':');
    if (colon < 0) return std::nullopt;
    AnimeInfo* c = w_.engine().findNamed(k, command.left(colon));
    if (!c) return std::nullopt;
    const QStringView t = command;
    qsizetype pos = colon + 1;
    for (;;) {
        while (pos < t.size() && t[pos] == u' ') ++pos;
        if (pos >= t.size()) return QString();
        // A keyword of any animation table counts by its low byte, the attribute number.
        const char16_t keyword = t[pos++].unicode();
        if (keyword < code::AttrFirst || keyword >= code::NameFirst) return std::nullopt;
        const int attribute = keyword & 0xFF;
        int dimIndex = -1;
        if (attribute == Attr::dim) {
            while (pos < t.size() && t[pos] == u' ') ++pos;
            const qsizetype close = t.indexOf(u']', pos);
            if (pos >= t.size() || t[pos] != u'[' || close < 0) return std::nullopt;
            dimIndex = truncToInt(valueOf(k, t.mid(pos + 1, close - pos - 1)));
            pos = close + 1;
        }
        const qsizetype equals = t.indexOf(u'=', pos);
        if (equals < 0) return QString();
        if (attribute == Attr::text) {
            // The text runs to the end of the statement; an expression gives its number.
            QString text = t.mid(equals + 1).trimmed().toString();
            if (text.startsWith(u'#')) text = numberText(valueOf(k, text));
            c->setText(text);
            return QString();
        }
        qsizetype comma = t.indexOf(u',', equals + 1);
        const double value = valueOf(k, t.mid(equals + 1, comma < 0 ? -1 : comma - equals - 1));
        if (attribute == Attr::dim) {
            c->setUserValue(dimIndex, value); // an index outside 0 to 31 is ignored
        } else if (attribute == Attr::Chaser) {
            // The chased character's name is the next field; the pairs go on after it.
            QStringView field;
            if (comma >= 0) {
                const qsizetype next = t.indexOf(u',', comma + 1);
                field = t.mid(comma + 1, next < 0 ? -1 : next - comma - 1);
                comma = next;
            }
            AnimeInfo* target = nullptr;
            if (value != 0) target = w_.engine().findNamed(k, field);
            if (value == 0 || target) c->setChased(target);
        } else {
            c->setAttribute(attribute, value);
        }
        if (comma < 0) return QString();
        pos = comma + 1;
    }
}

StepHost::Compiled AnimeCommands::runCompiledCommand(progInfo& s) {
    // Only a declared name's code starts a command this path knows.
    if (s.kind() < code::NameFirst) return StepHost::Compiled::Declined;
    if (!s.hostCache) {
        auto command = std::make_unique<CompiledCharacterCommand>();
        command->compile(s.code);
        s.hostCache = std::move(command);
    }
    return static_cast<CompiledCharacterCommand&>(*s.hostCache).run(w_.interpreter(), w_.engine().state);
}
