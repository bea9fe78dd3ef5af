// A stand-in for both neighbours of a work runner, for a window without gallery and palette (a
// lone window, vimora-run) and for the headless runner and the tests: one object answers the
// palette's and the gallery's calls, overriding only what it shows.
#pragma once

#include "WorkGallerySide.h"
#include "WorkPaletteSide.h"

class WorkHost : public WorkPaletteSide, public WorkGallerySide {};
