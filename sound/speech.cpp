// Speaks numbers and durations by playing recorded words one after another,
// each to its end, so that a number is heard as one sentence.
#include "sound/speech.h"

#include <cstdio>
#include <initializer_list>

#include "sound/sounds.h"

namespace {
HGLOBAL units[20];
HGLOBAL tens[10];  // 2..9 used
HGLOBAL hundred, thousand, million;
HGLOBAL hoursWord, minutesWord, secondsWord;

// The words are loaded when a number is first spoken.
bool g_wordsLoaded = false;
void EnsureWords() {
  if (!g_wordsLoaded) LoadNumberWords();
}

void Say(HGLOBAL word) { PlaySoundSync(word); }
}  // namespace

void LoadNumberWords() {
  g_wordsLoaded = true;
  secondsWord = LoadSound("SECONDS_WAV");
  minutesWord = LoadSound("MINUTES_WAV");
  hoursWord = LoadSound("HOURS_WAV");
  char name[8];
  for (int i = 0; i <= 20; ++i) {
    snprintf(name, sizeof name, "n%d", i);
    HGLOBAL h = LoadSound(name);
    if (i < 20)
      units[i] = h;
    else
      tens[2] = h;
  }
  for (int t = 3; t <= 9; ++t) {
    snprintf(name, sizeof name, "n%d", t * 10);
    tens[t] = LoadSound(name);
  }
  hundred = LoadSound("n100");
  thousand = LoadSound("n1000");
  million = LoadSound("million");
}

void FreeNumberWords() {
  g_wordsLoaded = false;
  for (HGLOBAL& h : units) FreeSound(h), h = nullptr;
  for (HGLOBAL& h : tens) FreeSound(h), h = nullptr;
  for (HGLOBAL* h : {&hundred, &thousand, &million, &hoursWord, &minutesWord, &secondsWord}) {
    FreeSound(*h);
    *h = nullptr;
  }
}

void SayBelow100(int32_t v) {
  EnsureWords();
  if (v < 0 || v > 99) return;
  if (v >= 20) {
    Say(tens[v / 10]);
    if (v % 10 != 0) Say(units[v % 10]);
  } else {
    Say(units[v]);
  }
}

void SayBelow1000(int32_t v) {
  EnsureWords();
  if (v < 0 || v > 999) return;
  if (v >= 100) {
    Say(units[v / 100]);
    Say(hundred);
    if (v % 100 != 0) SayBelow100(v % 100);
  } else {
    SayBelow100(v);
  }
}

// A group of millions or thousands: up to two digits spoken as such, more as
// a number below a thousand (from its last three digits), then the word.
static void SayGroup(int32_t group, bool belowHundred, HGLOBAL word) {
  if (belowHundred)
    SayBelow100(group);
  else
    SayBelow1000(group % 1000);
  Say(word);
}

void SayNumber(int32_t v) {
  EnsureWords();
  if (v < 0) return;
  if (v == 0) {
    Say(units[0]);
    return;
  }
  if (v > 999999) SayGroup(v / 1000000, v <= 99999999, million);
  int32_t r = v % 1000000;
  if (r > 999) SayGroup(r / 1000, r <= 99999, thousand);
  int32_t u = r % 1000;
  if (u > 99)
    SayBelow1000(u);
  else if (u > 0)
    SayBelow100(u);
}

void SayTime(int32_t s) {
  EnsureWords();
  if (s < 0) return;  // no such duration: say nothing rather than a lone "seconds"
  if (s > 3600) {
    SayNumber(s / 3600);
    Say(hoursWord);
    s %= 3600;
  }
  if (s > 60) {
    SayNumber(s / 60);
    Say(minutesWord);
    s %= 60;
  }
  if (s != 0) {
    SayNumber(s);
    Say(secondsWord);
  }
}
