// Platform services: the millisecond clock and interval timers, keys and
// stylus, sound cues and the installation directory.
#pragma once

#include <cstdint>

#include "wince.h"

// ---- Clock and interval timers ---------------------------------------------

constexpr int32_t kClockCycleMs = 10000;  // the clock reads 0..9999
constexpr uint32_t kTickSlots = 1;        // the game uses slot 0 only

extern int64_t counterFrequency;
extern int64_t counterValue;
extern uint32_t frameLastTick;
extern uint32_t TickSlot[kTickSlots];

BOOL StartClock();
uint32_t ReadCounterLow();
int32_t ClockMs();
int FrameTimerElapsed(int32_t interval);
int SlotTimerElapsed(int32_t interval, uint32_t slot);

// ---- Keys and stylus --------------------------------------------------------

constexpr uint8_t kKeyUp = 0, kKeyDown = 1, kKeyLeft = 2, kKeyRight = 3;
constexpr uint8_t kKeyDrop = 4, kKey196 = 5, kKey197 = 6, kKeyReturn = 7;
constexpr uint8_t kKeyFlagCount = 8;

struct StylusStateRecord {
    uint32_t down;
    uint32_t x;
    uint32_t y;
};

extern uint32_t KeyFlags[kKeyFlagCount];
extern StylusStateRecord StylusState;

int OpenInput(HWND window);
int CloseInput();
void OnKeyMessage(UINT message, WPARAM code);
int IsKeyFlagSet(uint8_t flag);
void ClearKeyFlag(uint8_t flag);
void OnStylusMessage(UINT message, LPARAM lParam);
int IsStylusDown();
void ClearStylusDown();
int StylusInRect(int32_t left, int32_t right, int32_t top, int32_t bottom);

// ---- Sound cues -------------------------------------------------------------

BOOL PlaySoundCue(LPCWSTR name);
BOOL StopSound();

// ---- Installation directory ---------------------------------------------------

constexpr uint32_t kGamePathChars = 130;  // terminator included
extern WCHAR GamePath[kGamePathChars];
// The key under HKEY_LOCAL_MACHINE that the installation writes GAMEPATH to.
inline constexpr WCHAR kRegistryKey[] = TEXT("\\SOFTWARE\\Apps\\Brackwell Pellax rim");

int ReadGamePath(HWND window, LPCWSTR key);
