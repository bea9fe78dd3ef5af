#include "AnimeBlock.h"

#include "AnimeBlockInput.h"
#include "AnimeHost.h"
#include "AnimeReaders.h"
#include "AnimeSettings.h"
#include "AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <exception>

namespace {

Faulty declare(AnimeState& state, AnimeBlockInput& input, int kind, const QString& params) {
    switch (kind) {
    case Kind::BitMap: return readBitMap(state, input, params);
    case Kind::DotPtn: return readDotPtn(state, input, params);
    case Kind::Message: return readMessage(state, input, params);
    case Kind::nebu: return readNebu(state, input, params, 0);
    case Kind::startrek: return readNebu(state, input, params, 1);
    default:
        if (const auto& reader = state.kindReaders[size_t(kind)]) return reader(state, input, params);
        return QStringLiteral("kind"); // a kind without a reader
    }
}

Faulty applySetting(AnimeState& state, AnimeBlockInput& input, int setting, const QString& params) {
    switch (setting) {
    case Setting::BgColor:
        return setBgColor(state, input, params) ? Faulty() : QStringLiteral("bgcolor");
    case Setting::Canvas:
        return setCanvas(state, input, params) ? Faulty() : QStringLiteral("canvas");
    case Setting::Window:
        return setCanvas(state, input, params) ? Faulty() : QStringLiteral("window");
    case Setting::Color:
        return setPaletteColor(state, input, params) ? Faulty() : QStringLiteral("color");
    case Setting::Frame: setFrame(state, input, params); return std::nullopt;
    case Setting::FramePtn: return setFramePattern(state, input, params);
    case Setting::WallColor: setWallColor(state, input, params); return std::nullopt;
    case Setting::Data: return input.readData(params) ? Faulty() : QStringLiteral("data");
    default: return std::nullopt; // run-time settings have no effect inside the block
    }
}

Faulty readStatementLine(AnimeState& state, AnimeBlockInput& input, const QString& statement) {
    if (statement.isEmpty()) return std::nullopt;
    const QChar lead = statement[0];
    QString params = statement.mid(1);
    if (params.startsWith(u':') || params.startsWith(u',')) params.remove(0, 1);
    if (lead == code::setting(Setting::Theme)) {
        if (params.startsWith(u'"')) {
            params.remove(0, 1);
            if (params.endsWith(u'"')) params.chop(1);
        }
        state.theme = params;
        return std::nullopt;
    }
    if (const int kind = kindOfCode(lead); kind >= 0) return declare(state, input, kind, params);
    if (const int setting = settingOfCode(lead); setting >= 0) return applySetting(state, input, setting, params);
    return std::nullopt; // attribute lines, block keywords, data rows: passed over
}

} // namespace

int runAnimeSet(AnimeState& state, AnimeBlockInput& input) {
    if (input.status() != RunStatus::Well) return -1;
    int result = 0;
    // The characters made since a statement was read came from that statement's kind keyword,
    // also when its reader stopped the block.
    size_t marked = state.characters.size();
    char16_t declaring = 0;
    auto markKinds = [&] {
        for (; marked < state.characters.size(); ++marked)
            if (kindOfCode(declaring) >= 0) state.characters[marked]->kindKeyword = declaring;
    };
    try {
        while (const auto statement = input.nextStatement()) {
            declaring = statement->isEmpty() ? char16_t(0) : (*statement)[0].unicode();
            const Faulty faulty = readStatementLine(state, input, *statement);
            markKinds();
            if (input.status() == RunStatus::ReadRange) {
                state.logMessage(QStringLiteral("配列番号が範囲外です。"));
                state.logMessage(QStringLiteral(" %1 行 %2 (Out Of Range)").arg(input.lineNumber()).arg(input.lineText()));
                result = RunStatus::ReadRange;
                break;
            }
            if (faulty) {
                const QString report = QStringLiteral(" %1 行 %2 (%3)").arg(input.lineNumber()).arg(input.lineText(), *faulty);
                state.logMessage(report);
                showCheck(report, QStringLiteral("ヴィモラ設定のパラメータに不備があります！"), 0);
                result = -1;
                break;
            }
        }
    } catch (const std::exception&) {
        // A fault inside a reader is a failed block, never a success with a stale index.
        if (input.status() == RunStatus::Well) input.setStatus(RunStatus::Fault);
        result = -1;
    } catch (...) {
        input.setStatus(RunStatus::ForeignFault);
        result = -1;
    }
    markKinds();
    state.rebuildNameIndex();
    return result;
}

void resetAnimation(AnimeState& state) {
    state.reset();
    if (state.host) state.host->hideGamePanel();
}
