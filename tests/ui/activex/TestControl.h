#pragma once
#include <windows.h>

// The in-process COM test control that the ActiveX host tests load, by its
// module path or through a class registration. Its objects log each call
// they get in one shared log, which the tests read through these exports.
namespace TestControl {

// Windowless: draws pure red, is hit in the left half of its rectangle,
// takes the capture while the left button is down.
constexpr CLSID kWindowless = {
    0x6E3C2A10, 0x51B7, 0x4F0A, {0x9D, 0x11, 0x2C, 0x55, 0x61, 0x7A, 0x01, 0x01}};
// Asks for a window of its own.
constexpr CLSID kWindowed = {
    0x6E3C2A10, 0x51B7, 0x4F0A, {0x9D, 0x11, 0x2C, 0x55, 0x61, 0x7A, 0x01, 0x02}};
// Fails its initialisation (IPersistStreamInit::InitNew).
constexpr CLSID kFailsInit = {
    0x6E3C2A10, 0x51B7, 0x4F0A, {0x9D, 0x11, 0x2C, 0x55, 0x61, 0x7A, 0x01, 0x03}};

// A stand-in for the platform's web browser (which has no HTML engine
// here): it is its own document, takes a UI handler, and fires the events
// the tests ask for at the sink advised to it.
constexpr CLSID kFakeBrowser = {
    0x6E3C2A10, 0x51B7, 0x4F0A, {0x9D, 0x11, 0x2C, 0x55, 0x61, 0x7A, 0x01, 0x04}};

using LiveObjectsFunc = LONG(WINAPI*)();
using FireFunc = HRESULT(WINAPI*)(DISPID event);
using LogFunc = const char*(WINAPI*)();
using ClearLogFunc = void(WINAPI*)();

} // namespace TestControl
