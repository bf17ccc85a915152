#pragma once
// For the tests only: the program never includes this header.

// Process-wide. With a non-zero value, every later transfer of the transport
// uses that many milliseconds as its connect (or total) time-out: it replaces
// the seconds that HttpPostForm's callers pass (the statistics reports always
// pass 3 s) and gives the request queue a time-out it otherwise does not have.
// Zero restores the normal behaviour. Set before starting transfers.
void SetHttpTimeoutsForTesting(long connectMilliseconds, long totalMilliseconds);
