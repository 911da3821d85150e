// Application shell: entry, window and main loop, start-up, the play screen
// and shutdown.
#pragma once

#include <cstdint>

#include "wince.h"

extern HWND MainWindowHandle;
// Set by Shutdown: from then on nothing may draw into, or present from, what
// it released, and the program only waits for its quit message.
extern int ShutdownDone;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int MainLoop();
void EnterFullScreen(HWND window);
int StartUp(HWND window);
void RunFrame();
void StartGame();
void NewGame();
void Shutdown();
