// The user's colour scheme, the static-colour takeover and its return, and
// the 20 static colours' places in a 3-3-2 palette.
#ifndef TOOLKIT_SYSTEM_COLOURS_H
#define TOOLKIT_SYSTEM_COLOURS_H

#include <stdint.h>

#include "platform/win32_types.h"

constexpr int kSchemeRows = 25;
constexpr int kStaticColourCount = 20;

// The colours the static palette entries take, refilled from the platform's
// default palette on every placement, and the 3-3-2 index each one takes.
extern PALETTEENTRY staticColors[kStaticColourCount];
extern uint32_t staticSlots[kStaticColourCount];

// Reads count rows of the user's scheme from the registry into colours;
// rows the registry lacks keep their value. False when the key cannot be opened.
bool ReadSchemeColors(COLORREF *colours, int count);

// True when the static colours are held after the call.
bool TakeStaticColors(HDC dc);
// True when colours were given back, false when none were held.
bool ReturnStaticColors(HDC dc);

// True while TakeStaticColors or ReturnStaticColors is changing the system
// colours: the WM_SYSCOLORCHANGE that SetSysColors sends at once is their own.
bool ChangingSystemColours();

// entries: a 256-entry 3-3-2 RGB palette. Fills staticSlots and
// staticColors and sets every entry's flags to PC_NOCOLLAPSE.
void PlaceStaticColors(PALETTEENTRY *entries);

// Asks, once, for a palette realisation through the toolkit window's queue.
void QueuePaletteRealize();

#endif
