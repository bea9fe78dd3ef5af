#include "WorkAnimation.h"

#include "ScriptBlockInput.h"
#include "anime/AnimeBlock.h"
#include "script/KeywordTables.h"

void WorkAnimation::resetAnimation(kestoBasInfo& interpreter) {
    AnimeEngine::resetAnimation(interpreter);
    kinds_.clear();
    chart.reset();
}

void WorkAnimation::clearPendingCamera() {
    AnimeEngine::clearPendingCamera();
    if (onClearCamera) onClearCamera();
}

int WorkAnimation::runAnimeSet(kestoBasInfo& interpreter, progInfo* first) {
    ScriptBlockInput input(interpreter, first);
    // The characters made since the last statement was read came from that statement's kind.
    size_t seen = state.characters.size();
    char16_t declaring = 0;
    input.onStatement = [&](char16_t code) {
        for (; seen < state.characters.size(); ++seen)
            if (declaring >= 0x3100 && declaring < 0x3200) kinds_[state.characters[seen].get()] = declaring;
        declaring = code;
    };
    const int result = ::runAnimeSet(state, input);
    input.onStatement(0); // a block that stopped early still names its last characters
    return result;
}

QString WorkAnimation::kindName(const AnimeInfo& character) const {
    const auto it = kinds_.find(&character);
    if (it == kinds_.end()) return QString();
    const KeywordEntry* entry = keywordOfCode(it->second);
    return entry ? entry->standard.toString() : QString();
}
