// Figures for the program's waits, in real time: the processor time the real
// game spends from start to its first-run note (the start-up sound plays to
// its end before it), the swap outline's frame period (the animation draws,
// waits 20 ms, undraws), how late the one-second clock tick arrives, and the
// processor time the loop takes while it sits idle.  Each figure is printed
// beside what it should be.  Offscreen, no display needed:
//   cmake --build build --target loop_figures SWAPST95 && build/loop_figures
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/win32.h"

int PlatformInitForTests(int argc, char** argv);

namespace {
using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, (size_t)(p * (double)(v.size() - 1) + 0.5))];
}

std::vector<double> g_tickLateness;
DWORD g_nextTick = 0;
int g_ticksLeft = 0;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_TIMER) {
    g_tickLateness.push_back((double)(int32_t)(GetTickCount() - g_nextTick));
    g_nextTick += 1000;
    if (--g_ticksLeft == 0) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

// The game's processor time while it starts: after four seconds it waits at
// its first-run note, so the time it has used by then is its start-up's.
void StartUpTime() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return;
  self[n] = 0;
  std::string folder(self);
  folder.erase(folder.rfind('/') + 1);
  char work[] = "/tmp/figuresXXXXXX";
  if (!mkdtemp(work)) return;
  pid_t child = fork();
  if (child == 0) {
    if (chdir(work) != 0) _exit(1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl((folder + "SWAPST95").c_str(), "SWAPST95", folder.c_str(), (char*)nullptr);
    _exit(1);
  }
  std::this_thread::sleep_for(std::chrono::seconds(4));
  std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
  std::string line;
  std::getline(stat, line);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  rmdir(work);
  // Fields 14 and 15, after the command's closing parenthesis: user and system ticks.
  size_t at = line.rfind(')');
  if (at == std::string::npos) return;
  std::vector<std::string> fields;
  std::string f;
  for (char c : line.substr(at + 2)) {
    if (c == ' ') {
      fields.push_back(f);
      f.clear();
    } else {
      f += c;
    }
  }
  if (fields.size() < 13) return;
  const double ticks = (double)sysconf(_SC_CLK_TCK);
  printf("start-up to first-run note %5.2f processor seconds              (it sleeps through its 1.6 s sound)\n",
         (std::stod(fields[11]) + std::stod(fields[12])) / ticks);
}

void SwapFrames(HWND window) {
  HDC dc = GetDC(window);
  SetROP2(dc, R2_NOTXORPEN);
  HGDIOBJ old = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  std::vector<double> periods;
  const double cpu0 = CpuSeconds();
  auto last = Clock::now();
  for (int frame = 0; frame < 200; ++frame) {
    const int s = frame * 5;
    Rectangle(dc, 10 + s, 10 + s, 180 + s, 140 + s);
    Rectangle(dc, 900 - s, 600 - s, 1070 - s, 730 - s);
    WaitMilliseconds(20);
    Rectangle(dc, 10 + s, 10 + s, 180 + s, 140 + s);
    Rectangle(dc, 900 - s, 600 - s, 1070 - s, 730 - s);
    const auto now = Clock::now();
    periods.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
  }
  const double cpu = CpuSeconds() - cpu0;
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  printf("swap frame period        median %6.2f ms   90th percentile %6.2f ms   (every 20 ms)\n",
         Percentile(periods, 0.5), Percentile(periods, 0.9));
  printf("processor while animating %5.1f %% of one core\n", 100 * cpu / (0.02 * (double)periods.size()));
}

void ClockTicks(HWND window) {
  g_ticksLeft = 5;
  g_nextTick = GetTickCount() + 1000;
  SetTimer(window, 104, 1000, nullptr);
  const double cpu0 = CpuSeconds();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  const double cpu = CpuSeconds() - cpu0;
  KillTimer(window, 104);
  printf("clock tick lateness      median %6.2f ms   worst %6.2f ms            (at most 5 ms)\n",
         Percentile(g_tickLateness, 0.5), Percentile(g_tickLateness, 1.0));
  printf("processor while idle     %6.2f %% of one core                      (under 1 %%)\n", 100 * cpu / 5.0);
}
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  PlatformInitForTests(argc, argv);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "figures";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "figures", "", WS_POPUP, 0, 0, 1280, 800, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  StartUpTime();
  SwapFrames(window);
  ClockTicks(window);
  return 0;
}
