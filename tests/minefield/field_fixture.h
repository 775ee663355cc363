// Runs the mine-field build offscreen in a fresh program folder, with time
// driven by the test, and lays out boards square by square.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

// The folder of the shipped data files (tile sets, the planet background).
std::string FieldDataFolder();

class FieldFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Start();
  void Stop();
  void Pump();
  void command(UINT id);
  void ClickAt(int x, int y);         // a left click in the middle of square (x, y)
  void RightClickAt(int x, int y);
  // A new game of the layout with exactly these bombs.
  void LayBoard(int columns, int rows, const std::vector<std::pair<int, int>>& bombs);
  std::vector<std::string> BoxCaptions() const;

  std::string folder_;
  std::string pictureFolder_;  // the command line: "" takes the program folder
  bool running_ = false;

 private:
  std::string previousDir_;
};
