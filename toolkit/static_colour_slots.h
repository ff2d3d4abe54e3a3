// The 20 static colours' places in a 3-3-2 palette.
#ifndef TOOLKIT_STATIC_COLOUR_SLOTS_H
#define TOOLKIT_STATIC_COLOUR_SLOTS_H

#include <stdint.h>

#include "platform/win32_types.h"

constexpr int kStaticColourCount = 20;

// The colours the static palette entries take, refilled from the platform's
// default palette on every placement, and the 3-3-2 index each one takes.
extern PALETTEENTRY staticColors[kStaticColourCount];
extern uint32_t staticSlots[kStaticColourCount];

// entries: a 256-entry 3-3-2 RGB palette. Fills staticSlots and
// staticColors and sets every entry's flags to PC_NOCOLLAPSE.
void PlaceStaticColors(PALETTEENTRY *entries);

#endif
