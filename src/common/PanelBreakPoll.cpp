#include "PanelBreakPoll.h"

#include "PanelMouse.h"
#include "ShowCheck.h"

bool PanelBreakPoll::breakRequested() {
    if (!pumpPanelMouse(panel_)) return false;
    if (question_.isEmpty()) return true;
    return showCheck(question_, caption_, 1) == 1;
}
