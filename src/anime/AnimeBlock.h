// The animation block reader: an Anime_Set or Anime_Add block's settings and declarations,
// and the reset that starts every run from an empty animation.
#pragma once

class AnimeBlockInput;
class AnimeState;

// Reads the block statement by statement: settings change the animation, kind lines create
// characters. Returns 0 when the block was read, -1 after a reported faulty parameter (or a
// caught fault), 3 when an array index went out of range. The name index is rebuilt in every
// case. Cost: linear in the block plus what its declarations load.
int runAnimeSet(AnimeState& state, AnimeBlockInput& input);

// Destroys the characters and charges, frees a grown palette, the frame pattern and the theme,
// and hides the window's game panel. Cost: linear in the characters.
void resetAnimation(AnimeState& state);
