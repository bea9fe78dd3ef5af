#include "CharacterKinds.h"

#include "CoulombReader.h"
#include "metaBallInfo.h"
#include "metaCubeInfo.h"
#include "metaRingInfo.h"
#include "mazeInfo.h"
#include "moleculeInfo.h"
#include "numlinkInfo.h"
#include "pitmanInfo.h"
#include "qtriInfo.h"
#include "soukobanInfo.h"
#include "sudokuInfo.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

void registerCharacterKinds(AnimeState& state) {
    state.kindReaders[size_t(Kind::Soukoban)] = readSoukoban;
    state.kindReaders[size_t(Kind::pitman)] = readPitman;
    state.kindReaders[size_t(Kind::Maze)] = readMaze;
    state.kindReaders[size_t(Kind::Sudoku)] = readSudoku;
    state.kindReaders[size_t(Kind::NumLink)] = readNumLink;
    state.kindReaders[size_t(Kind::Nikaku)] = readNikaku;
    state.kindReaders[size_t(Kind::MetaCube)] = readMetaCube;
    state.kindReaders[size_t(Kind::metaRing)] = readMetaRing;
    state.kindReaders[size_t(Kind::Coulomb)] = readCoulomb;
    state.kindReaders[size_t(Kind::Molecule)] = readMolecule;
    state.kindReaders[size_t(Kind::MetaBall)] = readMetaBall;
}
