#include "CharacterKinds.h"

#include "CoulombReader.h"
#include "anime/AnimeCodes.h"
#include "anime/AnimeState.h"
#include "metaBallInfo.h"
#include "metaCubeInfo.h"
#include "metaRingInfo.h"
#include "moleculeInfo.h"
#include "soukobanInfo.h"

void registerCharacterKinds(AnimeState& state) {
    state.kindReaders[size_t(AnimeKindCode::Soukoban)] = readSoukoban;
    state.kindReaders[size_t(AnimeKindCode::MetaCube)] = readMetaCube;
    state.kindReaders[size_t(AnimeKindCode::metaRing)] = readMetaRing;
    state.kindReaders[size_t(AnimeKindCode::Coulomb)] = readCoulomb;
    state.kindReaders[size_t(AnimeKindCode::Molecule)] = readMolecule;
    state.kindReaders[size_t(AnimeKindCode::MetaBall)] = readMetaBall;
}
