// Test entry point: one application object for every test, offscreen, with
// the platform's test hooks switched on.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/testing.h"

int PlatformInitForTests(int argc, char** argv);

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ::testing::InitGoogleTest(&argc, argv);
  PlatformInitForTests(argc, argv);
  TestEnable();
  return RUN_ALL_TESTS();
}
