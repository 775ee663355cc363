// Wave sounds embedded in the program: loading, playing in the background
// or to the end, and the sound switch.
#pragma once

#include "platform/win32.h"

HGLOBAL LoadSound(const char* name);
void FreeSound(HGLOBAL sound);
void PlaySoundAsync(HGLOBAL sound);
void PlaySoundSync(HGLOBAL sound);

// The set loaded when the main window is created.
struct GameSounds {
  HGLOBAL plainBeep, plainBeep2, takeTwo, congratulations;
  HGLOBAL bestScore, goodLuck, gameTook, moves, newRecord, movesRecord;
  HGLOBAL soundOn, soundOff, tick;
  // mine-field build
  HGLOBAL yourScoreWas, recordMoves, explosions, newRec, bonus, bonus2, explode;
};
extern GameSounds Sounds;

void LoadGameSounds();
void FreeGameSounds();
// Loads a sound, plays it to its end and frees it (start-up and goodbye).
void PlayResourceToEnd(const char* name);
// The sound switch: flips the sound flag and says which way it went.
void ToggleSound();
