// Windows and messages: paints come from the update region the Win32 way,
// timers follow the tick source, menus rewrite what the player sees, modal
// dialogs and message boxes answer from the test's script.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {
std::vector<UINT> g_seen;
RECT g_paintRect;
COLORREF g_paintColour = RGB(0, 0, 255);

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  g_seen.push_back(msg);
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    g_paintRect = ps.rcPaint;
    HBRUSH red = CreateSolidBrush(g_paintColour);
    RECT all{0, 0, 1000, 1000};
    FillRect(dc, &all, red);  // clipped to what was invalid
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeWindow(DWORD style = WS_POPUP) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = "recording";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "recording", "t", style, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(h, SW_SHOW);
  TestPumpMessages();
  g_seen.clear();
  return h;
}

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { TestResetWindows(); }
};

int Count(UINT msg) {
  int n = 0;
  for (UINT m : g_seen) n += m == msg;
  return n;
}
}  // namespace

TEST_F(WindowTest, PaintComesFromTheUpdateRegionAndIsClippedToIt) {
  HWND h = MakeWindow();
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
  g_paintColour = RGB(255, 0, 0);
  RECT r{10, 20, 30, 40};
  InvalidateRect(h, &r, FALSE);
  InvalidateRect(h, &r, FALSE);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_PAINT), 1) << "invalidations merge into one paint";
  EXPECT_EQ(g_paintRect.left, 10);
  EXPECT_EQ(g_paintRect.bottom, 40);
  EXPECT_EQ(TestWindowPixel(h, 10, 20), RGB(255, 0, 0));
  EXPECT_EQ(TestWindowPixel(h, 29, 39), RGB(255, 0, 0));
  EXPECT_EQ(TestWindowPixel(h, 30, 40), RGB(0, 0, 255));
  EXPECT_EQ(TestWindowPixel(h, 9, 25), RGB(0, 0, 255));
  g_paintColour = RGB(0, 0, 255);
  RECT none;
  EXPECT_FALSE(GetUpdateRect(h, &none, FALSE));
  TestPumpMessages();
  EXPECT_EQ(Count(WM_PAINT), 1) << "nothing left to paint";
}

TEST_F(WindowTest, TimersFollowTheTickSource) {
  HWND h = MakeWindow();
  TestSetTicks(1000);
  SetTimer(h, 104, 1000, nullptr);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_TIMER), 0);
  TestAdvanceTicks(999);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_TIMER), 0);
  TestAdvanceTicks(1);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_TIMER), 1);
  KillTimer(h, 104);
  TestAdvanceTicks(5000);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_TIMER), 1);
  TestResetWaited();
  DWORD before = GetTickCount();
  WaitMilliseconds(20);
  EXPECT_EQ(GetTickCount() - before, 20u);
  EXPECT_EQ(TestWaitedMilliseconds(), 20u);
}

TEST_F(WindowTest, CloseDestroysAndQuitEndsThePump) {
  HWND h = MakeWindow();
  PostMessageA(h, WM_CLOSE, 0, 0);
  TestPumpMessages();
  EXPECT_EQ(Count(WM_DESTROY), 1);
  EXPECT_FALSE(IsWindow(h));
  PostQuitMessage(3);
  EXPECT_FALSE(TestPumpMessages());
  EXPECT_EQ(TestQuitCode(), 3);
}

TEST_F(WindowTest, MenusAreRewrittenAndSizedIntoTheWindow) {
  static const MenuTemplateItem items[] = {
      {0, "&Game", 0, MF_POPUP}, {1, "&One", 101, 0}, {1, "", 0, MF_SEPARATOR},
      {1, "&Two", 102, 0},       {0, "&Help", 501, 0}, {0, nullptr, 0, 0}};
  RegisterMenuTemplate("TestMenu", items);
  HWND h = MakeWindow(WS_OVERLAPPEDWINDOW);
  RECT bare;
  GetClientRect(h, &bare);
  HMENU m = LoadMenuA(nullptr, "testmenu");
  ASSERT_NE(m, nullptr) << "menu names are matched without regard to case";
  SetMenu(h, m);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_LT(client.bottom, bare.bottom) << "the menu bar takes room from the client area";
  EXPECT_EQ(client.right, bare.right);
  char text[64];
  ModifyMenuA(m, 102, MF_BYCOMMAND | MF_STRING, 102, "&Second");
  GetMenuStringA(GetMenu(h), 102, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Second");
  EXPECT_EQ(GetMenuStringA(m, 999, text, sizeof text, MF_BYCOMMAND), 0);
  SetMenu(h, nullptr);
  GetClientRect(h, &client);
  EXPECT_EQ(client.bottom, bare.bottom);
}

namespace {
INT_PTR CALLBACK EchoDialog(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) {
    SetDlgItemTextA(dlg, 10, "typed");
    return TRUE;
  }
  if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
    char t[16];
    GetDlgItemTextA(dlg, 10, t, sizeof t);
    EndDialog(dlg, t[0] == 't' ? 42 : 1);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

TEST_F(WindowTest, ModalDialogsAndMessageBoxesAnswerFromTheScript) {
  static const DialogControlTemplate controls[] = {{"EDIT", "", 10, 0, 5, 5, 100, 12},
                                                   {"BUTTON", "OK", IDOK, BS_DEFPUSHBUTTON, 5, 20, 40, 14}};
  static const DialogTemplate dlg = {"EchoDialog", "Echo", WS_POPUP | WS_CAPTION, 0, 0, 120, 40, controls, 2};
  RegisterDialogTemplate(&dlg);
  HWND owner = MakeWindow();
  TestQueueDialogScript([](HWND d) { SendMessageA(d, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(DialogBoxParamA(nullptr, "EchoDialog", owner, EchoDialog, 0), 42);
  EXPECT_EQ(DialogBoxParamA(nullptr, "EchoDialog", owner, EchoDialog, 0), IDCANCEL)
      << "a dialog with no script is cancelled";
  EXPECT_EQ(DialogBoxParamA(nullptr, "NoSuchDialog", owner, EchoDialog, 0), -1);

  TestMessageBoxes().clear();
  TestQueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxA(owner, "Sure?", "Q:", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(owner, "Fine", "I:", MB_OK), IDOK);
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Q:");
  EXPECT_EQ(TestMessageBoxes()[0].type, (UINT)MB_YESNO);
  EXPECT_EQ(TestMessageBoxes()[1].owner, owner);
}
