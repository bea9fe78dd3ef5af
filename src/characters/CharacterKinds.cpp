#include "CharacterKinds.h"

#include "anime/AnimeCodes.h"
#include "anime/AnimeState.h"
#include "soukobanInfo.h"

void registerCharacterKinds(AnimeState& state) {
    state.kindReaders[size_t(AnimeKindCode::Soukoban)] = readSoukoban;
}
