#include "CharacterKinds.h"

#include "anime/AnimeCodes.h"
#include "anime/AnimeState.h"
#include "metaCubeInfo.h"
#include "metaRingInfo.h"
#include "soukobanInfo.h"

void registerCharacterKinds(AnimeState& state) {
    state.kindReaders[size_t(AnimeKindCode::Soukoban)] = readSoukoban;
    state.kindReaders[size_t(AnimeKindCode::MetaCube)] = readMetaCube;
    state.kindReaders[size_t(AnimeKindCode::metaRing)] = readMetaRing;
}
