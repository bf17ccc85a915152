#pragma once
#include <windows.h>

// Real input for the UI desktop tests, through SendInput, as a person's
// mouse and keyboard would give it.
namespace UiTest {

// One mouse input. With MOUSEEVENTF_ABSOLUTE, (screenX, screenY) is a screen
// pixel; data is the wheel delta or the X button.
void SendMouse(DWORD flags, int screenX = 0, int screenY = 0, DWORD data = 0);

// Moves the pointer to a screen point and waits until the system has it.
void MoveScreen(int x, int y);

// A press that the system cannot take for the second half of a double
// click: one close in time and place to the previous press waits.
void LeftDown();
void LeftUp();

// One wheel turn of delta (WHEEL_DELTA per notch, negative towards the user).
void Wheel(int delta);

// Waits until hwnd is the foreground window and has the keyboard focus:
// real keys go to the foreground window's focus, so a key sent before then
// may reach another window, or none.
bool HasKeyboard(HWND hwnd);
// Makes hwnd the foreground window with the focus, then waits as above.
bool TakeKeyboard(HWND hwnd);

void Key(WORD vk, bool up = false);
// The key down and up.
void Press(WORD vk);

} // namespace UiTest
