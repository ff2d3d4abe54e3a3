// The user's colour scheme, the static-colour takeover and its return, and
// the realisation the colour-map operations ask for.
#ifndef TOOLKIT_SYSTEM_COLOURS_H
#define TOOLKIT_SYSTEM_COLOURS_H

#include <stdint.h>

#include "platform/win32_types.h"

constexpr int kSchemeRows = 25;

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

// The toolkit window's own message that asks it to realise its palette.
constexpr UINT kRealizePaletteRequest = WM_USER;

// Asks, once, for a palette realisation through the toolkit window's queue.
void QueuePaletteRealize();

#endif
