// A test fixture that runs the whole game offscreen: a fresh program folder
// with the shipped data files, the shell and board back at their start
// values, a desktop of a chosen size, time driven by the test, and the game
// started the way the entry point starts it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "support/bitmap_helpers.h"
#include "platform/win32.h"

struct GameStartOptions {
  int desktopWidth = 1024;
  int desktopHeight = 768;
  std::string commandLine;  // empty: the pictures lie beside the program
  bool copyData = true;     // put the shipped data files into the program folder
  int noteAnswer = IDOK;    // the answer to the first-run note
  DWORD ticks = 100000;     // GetTickCount() at start
};

class GameFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // What SetUp starts the game with; fixtures override it.
  virtual GameStartOptions StartOptions() const { return GameStartOptions(); }

  // Starts the game in the current program folder (SetUp does this once).
  void StartGame(const GameStartOptions& options);
  // Ends the running game, if any, and frees what it held.
  void StopGame();
  // Stops the game and starts it again in the same folder, as a second run.
  void RestartGame(const GameStartOptions& options);

  // Handles every queued message, paint and due timer.
  void Pump();
  void click(int x, int y);
  void mouseMove(int x, int y);
  void key(WPARAM vk);
  void command(UINT id);
  COLORREF pixel(int x, int y) const;

  // Forgets the message boxes, sounds, waits and rectangle calls seen so far.
  void ClearRecords();
  // A new game of the current size with no question asked (none is running).
  void NewGame();
  // Every piece home; repainted.
  void LayOutSolved();
  // Exchanges the pieces of two cells in the board record; repainted.
  void Exchange(int column1, int row1, int column2, int row2);
  // A click in the middle of the cell's drawn rectangle.
  void ClickCell(int column, int row);

  std::vector<std::string> Sounds() const { return TestSoundsPlayed(); }

  std::string folder_;  // the program folder, with a trailing "/"
  int startResult_ = 0;
  std::vector<TestMessageBox> startBoxes_;    // the boxes asked during start-up
  std::vector<std::string> startSounds_;      // the sounds played during start-up

 private:
  std::string previousDir_;
  bool running_ = false;
};

// The folder of the shipped data files (cathedra.bkg and the others).
std::string DataDirectory();
// A window's client pixels as 0x00RRGGBB rows.
std::vector<uint32_t> WindowImage(HWND hwnd, int* width, int* height);
// The statistics dialog's value boxes whose figure lies more than a unit
// (`scale` device pixels) higher or lower than the middle, each as
// "top T: A above, B below" in device pixels; empty boxes are left out.
std::vector<std::string> StatsFiguresOffCentre(HWND dialog, int scale);
// The 0x00RRGGBB form of a COLORREF.
inline uint32_t ToRgbWord(COLORREF c) {
  return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}
