#pragma once

#include <QtGlobal>
#include <algorithm>

// The requests of qvctl poll keep a fixed rate: request n is due n intervals
// after the first, whatever the exchanges take. One that an overrunning
// exchange made late still goes at once while it is at most half an interval
// late; the slots further behind are skipped, so a slow charger is not asked
// back to back and the requests stay on their grid.
struct PollSlot {
  qint64 index;  // n
  qint64 atMs;   // when to send it, counted from the first request
};

// The slot after the one numbered last, at nowMs after the first request.
inline PollSlot NextPollSlot(qint64 last, qint64 nowMs, qint64 intervalMs) {
  qint64 next = last + 1;
  if (intervalMs > 0) {
    const qint64 firstStillOnTime = (nowMs - intervalMs / 2 + intervalMs - 1) / intervalMs;
    next = std::max(next, firstStillOnTime);
  }
  return {next, std::max(nowMs, next * intervalMs)};
}
