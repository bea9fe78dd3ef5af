// The character kinds of this library, made known to an animation's block reader.
#pragma once

class AnimeState;

// Sets the declaration readers of the built-in game kinds in `state`. Cost: constant.
void registerCharacterKinds(AnimeState& state);
