// One source location of the catalog: one line of url.txt, owning the source's groups.
#pragma once

#include "acmdGroupInfo.h"

#include <QString>
#include <memory>
#include <vector>

class acmdURLinfo {
public:
    int index = 0;        // 0-based position in url.txt
    QString name;         // display name (first field)
    QString location;     // folder path or http(s) URL, ends with "/"
    int groupCount = 0;   // groups read; -1 after a failed remote group.txt fetch
    bool remote = false;  // fetched over HTTP when first reached
    std::vector<std::unique_ptr<acmdGroupInfo>> groups; // in file order; never shrinks
};

inline bool acmdGroupInfo::hasNext() const {
    return source && static_cast<size_t>(index) + 1 < source->groups.size();
}
