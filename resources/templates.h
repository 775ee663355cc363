// The program's menus and dialog templates, registered with the desktop
// layer before the first window is made.
#pragma once

void RegisterGameResources();

// Ten empty items for a recent-file list, commands base..base+9; their texts
// are filled in from the list.
#define RECENT(base, depth)                                                                          \
  {depth, "", base + 0, 0}, {depth, "", base + 1, 0}, {depth, "", base + 2, 0}, {depth, "", base + 3, 0}, \
      {depth, "", base + 4, 0}, {depth, "", base + 5, 0}, {depth, "", base + 6, 0},                     \
      {depth, "", base + 7, 0}, {depth, "", base + 8, 0}, {depth, "", base + 9, 0}

// The items both games share in their first menu: the screen modes, the
// clock and the sound switch.
#define SCREEN_CLOCK_SOUND(depth)                                                            \
  {depth, "Screen &Mode", 0, MF_POPUP}, {depth + 1, "&Full Screen Mode", 2101, 0},              \
      {depth + 1, "&Normal Window", 2100, 0}, {depth + 1, "&Reduce Game to Icon", 2102, 0},     \
      {depth, "&Show Clock Toggle", 121, 0}, {depth, "&Sound Toggle", 212, 0}
