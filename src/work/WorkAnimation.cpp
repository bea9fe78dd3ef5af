#include "WorkAnimation.h"

#include "characters/CharacterKinds.h"
#include "script/KeywordTables.h"

WorkAnimation::WorkAnimation() { registerCharacterKinds(state); }

void WorkAnimation::resetAnimation(kestoBasInfo& interpreter) {
    AnimeEngine::resetAnimation(interpreter);
    chart.reset();
}

QString WorkAnimation::kindName(const AnimeInfo& character) {
    const KeywordEntry* entry = character.kindKeyword ? keywordOfCode(character.kindKeyword) : nullptr;
    return entry ? entry->standard.toString() : QString();
}
