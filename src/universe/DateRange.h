// The time range of the tree window's star filter as the date range window edits it.
#pragma once

#include <QString>
#include <cstdint>

// The packed stamp of a date text for the range's start (missing groups at their lowest: month
// and day 01, time 00:00:00) or end (at their highest: 12, 31, 23:59:59), so that "2010/05/03"
// as a start lets the whole day in instead of becoming a number below every stamp. A text
// without digits gives 0. O(length).
uint64_t rangeStamp(const QString& text, bool end);
