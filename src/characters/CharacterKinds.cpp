#include "CharacterKinds.h"

#include "soukobanInfo.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

void registerCharacterKinds(AnimeState& state) {
    state.kindReaders[size_t(Kind::Soukoban)] = readSoukoban;
}
