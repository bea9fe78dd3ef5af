// One work of the catalog: one line of a group's anime.txt.
#pragma once

#include <QString>

class acmdGroupInfo;

class acmdFileInfo {
public:
    int index = 0;                   // 0-based position within its group; the work window keeps it
    QString title;                   // display title and the work window's caption
    QString fileName;                // acmd program file, relative to the group folder
    int showFlag = 1;                // 0: hidden in list display and passed over by the tour
    int fetchedBytes = -1;           // byte count of the last remote fetch, -1 before any
    acmdGroupInfo* group = nullptr;  // non-owning link to the group that owns this work
};
