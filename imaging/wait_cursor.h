// The wait cursor, shown for as long as the object lives (decoding,
// converting and writing pictures).
#pragma once

#include "platform/win32.h"

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(0, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
