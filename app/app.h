// Application shell: entry, window and main loop, start-up and the play
// screen.
#pragma once

#include <cstdint>

#include "wince.h"

extern HWND MainWindowHandle;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int MainLoop();
void EnterFullScreen(HWND window);
int StartUp(HWND window);
void RunFrame();
void StartGame();
void NewGame();
