// One group of a source: one line of the source's group.txt, owning the group's works.
#pragma once

#include "acmdFileInfo.h"

#include <QString>
#include <memory>
#include <vector>

class acmdURLinfo;

class acmdGroupInfo {
public:
    int index = 0;                 // 0-based position within its source
    QString folder;                // relative to the source's location, ends with "/"
    QString title;
    int tourFlag = 1;              // 0: the tour passes the group over
    acmdURLinfo* source = nullptr; // non-owning link to the source that owns this group
    std::vector<std::unique_ptr<acmdFileInfo>> works; // in file order; never shrinks

    // True when a later group of the same source follows. Cost: constant.
    bool hasNext() const;
};
