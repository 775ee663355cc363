// Sounds are wave resources, loaded once and played from memory.  Every one
// is optional: a missing resource has handle 0 and plays nothing.
#include "sound/sounds.h"

#include "common/shell_state.h"
#include "common/variant.h"

GameSounds Sounds;

HGLOBAL LoadSound(const char* name) {
  HRSRC res = FindResourceA(AppInstance, name, "WAVE");
  return res ? LoadResource(AppInstance, res) : nullptr;
}

void FreeSound(HGLOBAL sound) {
  if (sound) FreeResource(sound);
}

void PlaySoundAsync(HGLOBAL sound) {
  const void* data = sound ? LockResource(sound) : nullptr;
  if (!data) return;
  sndPlaySoundA(static_cast<const char*>(data), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

void PlaySoundSync(HGLOBAL sound) {
  const void* data = sound ? LockResource(sound) : nullptr;
  if (!data) return;
  sndPlaySoundA(static_cast<const char*>(data), SND_NODEFAULT | SND_MEMORY);
}

void LoadGameSounds() {
  Sounds = GameSounds{};
  Sounds.plainBeep = LoadSound("plain_beep");
  Sounds.plainBeep2 = LoadSound("plain_beep2");
  Sounds.soundOff = LoadSound("soundoff");
  Sounds.soundOn = LoadSound("soundon");
  Sounds.tick = LoadSound("tick_wav");
  if (kGameVariant == 0) {
    Sounds.gameTook = LoadSound("gametook_wav");
    Sounds.bestScore = LoadSound("best_score_wav");
    Sounds.goodLuck = LoadSound("good_luck_wav");
    Sounds.congratulations = LoadSound("kcongrat");
    Sounds.takeTwo = LoadSound("take_two");
    Sounds.movesRecord = LoadSound("movesrec_wav");
    Sounds.newRecord = LoadSound("newrecor_wav");
    Sounds.moves = LoadSound("moves_wav");
  } else {
    Sounds.yourScoreWas = LoadSound("yourscorewas_wav");
    Sounds.recordMoves = LoadSound("recordmoves_wav");
    Sounds.explosions = LoadSound("explosions_wav");
    Sounds.newRec = LoadSound("new_rec_wav");
    Sounds.bonus = LoadSound("bonus_wav");
    Sounds.bonus2 = LoadSound("bonus2_wav");
    Sounds.explode = LoadSound("explode");
  }
}

void FreeGameSounds() {
  HGLOBAL* all[] = {&Sounds.plainBeep, &Sounds.plainBeep2, &Sounds.takeTwo, &Sounds.congratulations,
                    &Sounds.bestScore, &Sounds.goodLuck, &Sounds.gameTook, &Sounds.moves,
                    &Sounds.newRecord, &Sounds.movesRecord, &Sounds.soundOn, &Sounds.soundOff,
                    &Sounds.tick, &Sounds.yourScoreWas, &Sounds.recordMoves, &Sounds.explosions,
                    &Sounds.newRec, &Sounds.bonus, &Sounds.bonus2, &Sounds.explode};
  for (HGLOBAL* s : all) {
    FreeSound(*s);
    *s = nullptr;
  }
}

void PlayResourceToEnd(const char* name) {
  HGLOBAL s = LoadSound(name);
  if (!s) return;
  PlaySoundSync(s);
  FreeSound(s);
}

void ToggleSound() {
  soundFlag = soundFlag ? 0 : 1;
  PlaySoundAsync(soundFlag ? Sounds.soundOn : Sounds.soundOff);
}
