#pragma once
#include <windows.h>

#include <functional>

// Message pumping for the UI desktop tests: every message goes through the
// window manager's pre-translation, as the application's own loop does.
namespace UiTest {

// Handles every message waiting now (WM_QUIT is dropped so that a test
// cannot end the loop of the ones after it) and tells whether one was
// WM_QUIT: the application's own loop would have ended there.
bool Pump();

// Pumps until pred holds (true) or timeoutMs has passed (false). Between
// checks it sleeps until input arrives or 5 ms pass, so that conditions
// that change without a message, such as the cursor position, are seen soon.
// With metQuit, a WM_QUIT met on the way sets it to true before pred runs.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 3000, bool* metQuit = nullptr);

// Pumps for ms milliseconds: timers and deferred messages get their turn.
void PumpFor(DWORD ms);

} // namespace UiTest
