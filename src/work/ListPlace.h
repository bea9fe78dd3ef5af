// Where a work window stands in list display and where going home (and the tour) returns it to.
#pragma once

struct ListPlace {
    bool smallInList = false; // at its list-display size
    int savedZoom = 100;
    int savedLeft = 0;
    int savedTop = 0;
};
