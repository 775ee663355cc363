// Hooks for tests only: the game runs offscreen, time is driven by the test,
// message boxes, dialogs and file dialogs are answered from a script, sounds
// are recorded instead of played, and window pixels can be read back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

// Switches every hook below on.  Call once, before any window exists.
void TestEnable();
bool TestEnabled();

// The tick source: GetTickCount() returns this value; WaitMilliseconds moves
// it on by the time waited, and every GetTickCount() call moves it on by
// `stepPerCall` (0 by default) so that any busy loop ends.
void TestSetTicks(DWORD ticks);
void TestAdvanceTicks(DWORD ms);
void TestSetTickStep(DWORD stepPerCall);
// Total milliseconds spent in WaitMilliseconds since the last reset.
DWORD TestWaitedMilliseconds();
void TestResetWaited();

// The desktop says the program has the keyboard, or that another program
// (or the screen lock) has taken it; a loss reaches the windows as
// WM_ACTIVATEAPP once it has lasted a moment of GetTickCount() time.
void TestSetApplicationActive(bool active);

// The desktop's size (what GetDesktopWindow's rectangle reports).
void TestSetDesktopSize(int width, int height);

// The pointer's screen position that GetCursorPos reports (off every window
// by default), and whether Shift is held for GetKeyState.
void TestSetCursorPos(int x, int y);
void TestSetShiftDown(bool down);

// Device pixels to a desktop unit, as a scaled desktop has them (1 unless
// set).  Set it before any window or bitmap exists.
void TestSetScale(double scale);

// Message boxes: answers are taken in order; with none left the first button
// (IDOK or IDYES) is the answer.  Every box asked is recorded.
struct TestMessageBox {
  HWND owner;
  std::string caption;
  std::string text;
  UINT type;
  int answer;
};
void TestQueueMessageBoxAnswer(int answer);
std::vector<TestMessageBox>& TestMessageBoxes();

// Modal dialogs: each script runs once the dialog has been initialised, with
// the dialog's handle; it usually sends a command that ends the dialog.  A
// dialog with no script left is ended with IDCANCEL.
void TestQueueDialogScript(std::function<void(HWND dialog)> script);
std::vector<std::string>& TestDialogsShown();
// The stops Tab visits in a dialog, from the one the keyboard starts on: each
// control's id, 0 for a stop that is none of the dialog's controls.
std::vector<int> TestDialogTabStops(HWND dialog);

// File dialogs: each answer is a full path, or "" for Cancel.  A dialog with
// no answer left is cancelled.  The dialogs asked are recorded.
struct TestFileDialog {
  bool save;
  std::string initialDir;
  std::string filter;  // pairs joined with '|'
  DWORD filterIndex;
  std::string title;
  std::string shownDirectory;  // UTF-8; only for typed answers, which show the real dialog
  std::vector<std::string> typesShown;  // the type list's rows; only for typed answers
};
void TestQueueFileDialogAnswer(const std::string& path, DWORD filterIndex = 0);
// An answer typed into the real file dialog (given as UTF-8) and accepted
// there, so that it reaches the caller the way a player's choice does.  Only
// names that the dialog takes without a question: an existing file to open, a
// new one to save.
void TestQueueFileDialogTyped(const std::string& utf8Path);
std::vector<TestFileDialog>& TestFileDialogs();

// Sounds: resource names in the order played, "!" appended for a sound
// played to its end.  Nothing is sent to an audio device.
std::vector<std::string>& TestSoundsPlayed();

// Reads a window's client pixels (its backing image) as COLORREF values.
COLORREF TestWindowPixel(HWND hwnd, int x, int y);
// The backing image as 0x00RRGGBB rows, in device pixels: the client size
// times the screen scale.
std::vector<uint32_t> TestWindowImage(HWND hwnd, int* width, int* height);

// What the player sees of popup `popup` (0 = the first) of a window's menu
// bar: each item's text ("" for an item with empty text) and "-" for each
// separator drawn; hidden items and folded separators are left out.
std::vector<std::string> TestMenuShown(HWND window, int popup);
// The texts of a dialog's static labels that do not fit their rectangle as
// the label lays them out (wrapped where it wraps).
std::vector<std::string> TestLabelsThatDoNotFit(HWND dialog);

// How many widgets of the toolkit exist right now.
int TestLiveWidgets();

// Number of Rectangle() calls made on any window device context.
int TestRectangleCalls();
void TestResetRectangleCalls();

// Handles every queued or due message (paints, timers) without waiting, then
// deletes the widgets the program let go of, as the real loop does when idle.
// Returns false once the quit message has been posted.
bool TestPumpMessages();
// The exit code of the quit message, once posted.
int TestQuitCode();
bool TestQuitPosted();
// Forgets windows, timers, queued messages and the quit message, so that the
// next test starts afresh.
void TestResetWindows();

// Makes _lwrite fail once this many bytes have been written in total (a full
// disk); -1 switches it off.
void TestFailWritesAfter(long bytes);
