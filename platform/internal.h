// Shared state of the desktop layer's implementation files.  Not for game code.
//
// Which file owns what is shared here:
//   window.cpp           window records and classes, creating, destroying and
//                        showing them, focus, titles: g_windows, g_focus,
//                        g_desktop, Win, Handle, ControlWidget, FromAnsi, ToAnsi
//   window_geometry.cpp  positions, sizes, frames, styles, parents: ClientSize,
//                        MenuBarHeight, ApplyGeometry, g_desktopW, g_desktopH
//   window_store.cpp     a window's image in the toolkit's backing store:
//                        StoreCandidate, CanLiveInStore, EnterStore,
//                        PaintsInStore, LeaveStore, PutUnders,
//                        BeforeToolkitPaints, BlankImage, FillBlank
//   message_queue.cpp    the queue and the loop: g_queue, PostInput,
//                        g_generationCancel
//   paint.cpp            update regions, BeginPaint and EndPaint
//   screen.cpp           what reaches the screen: DrawnArea, FlushScreen
//   timers.cpp           timers, time and waits: g_timers, RealTicks,
//                        SleepForEvents
//   activation.cpp       whether the program has the keyboard: WatchActivation,
//                        PostActivationNews, MillisecondsToActivationNews
//   cursors.cpp          cursors, icons and the pointer: IconOf
//   menu.cpp             menus: GetMenuData, AttachMenu, OpenMenuByMnemonic
//   dialog.cpp           dialogs, message boxes and file dialogs:
//                        DialogEnterOrEscape, RemoveControls
//   gdi.cpp              device contexts and GDI objects, clip regions, DC
//                        state: g_scale, g_targetEpoch, g_pixelDC, g_lastDC,
//                        Obj, NewObj, GetDCData, LookUpDC, Target, ForgetArea,
//                        MakeArea, DrawableRegion, MarkDrawn
//   bitblt.cpp           bitmaps and bit copies
//   shapes.cpp           pixels, lines, shapes and fills: WithPainter
//   text.cpp             text
//   resource.cpp         resources: ResourceNameOf, ResourceSizeOf
//   app.cpp              the application object and end requests: g_loopIdle,
//                        g_test, TakeEndRequest, RunEndRequest,
//                        InstallSignalHandlers
#pragma once

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <climits>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32.h"

class QGuiApplication;
class QIcon;
class QMenuBar;
class QPainter;
class QScreen;
class QMenu;
class QAction;
class HostWidget;
class Canvas;

namespace plat {

// ---------------------------------------------------------------- GDI objects
enum class ObjKind { Bitmap, Pen, Brush, Region, Palette, Font };

// ---------------------------------------------------------------- screen scale
// Device pixels to a desktop unit.  The game's coordinates are desktop units;
// window images and bitmaps hold the screen's own pixels, so that pictures
// stay sharp on a scaled desktop.  Every drawing call turns its units into
// pixels with Dev(); at a scale of 1 the two are the same.
extern double g_scale;
inline int Dev(int v) { return g_scale == 1.0 ? v : (int)std::floor(v * g_scale + 1e-6); }
// The pixels of a rectangle of units, and the units that cover a rectangle
// of pixels.
inline QRect DevRect(const QRect& r) {
  if (g_scale == 1.0 || r.isEmpty()) return r;
  return QRect(QPoint(Dev(r.left()), Dev(r.top())), QPoint(Dev(r.right() + 1) - 1, Dev(r.bottom() + 1) - 1));
}
inline QRect UnitRect(const QRect& r) {
  if (g_scale == 1.0 || r.isEmpty()) return r;
  const int l = (int)std::floor(r.left() / g_scale), t = (int)std::floor(r.top() / g_scale);
  const int rr = (int)std::ceil((r.right() + 1) / g_scale), b = (int)std::ceil((r.bottom() + 1) / g_scale);
  return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
}
inline QRegion DevRegion(const QRegion& units) {
  if (g_scale == 1.0) return units;
  QRegion r;
  for (const QRect& q : units) r += DevRect(q);
  return r;
}

struct GdiObj {
  ObjKind kind;
  bool stock = false;
  // bitmap
  QImage image;  // Format_RGB32, in device pixels; a monochrome bitmap holds only black and white
  int unitWidth = 0, unitHeight = 0;  // its size in desktop units
  bool mono = false;
  int selectedCount = 0;
  // pen and brush
  int style = 0;
  int width = 1;
  COLORREF color = 0;
  // region
  QRegion region;
};

GdiObj* Obj(HGDIOBJ h);  // null when not a live object
HGDIOBJ NewObj(GdiObj* o);

struct Window;

// The pixels a DC may draw on, kept ready for the drawing paths: the target
// image's rows and the drawable area as plain, non-overlapping rectangles
// that a pixel test checks without building regions.
struct DrawArea {
  unsigned epoch = 0;                // g_targetEpoch when it was made
  QRgb* bits = nullptr;
  qsizetype stride = 0;              // pixels to a row
  int left = 0, top = 0;             // `box` as plain numbers for the pixel test
  unsigned width = 0, height = 0;
  bool single = false;               // the area is one rectangle, `box`
  bool mono = false;                 // a monochrome memory bitmap
  bool plain = false;                // single and not monochrome
  class DrawnArea* drawn = nullptr;  // a window DC: what its window must show
  QImage* image = nullptr;
  QRect box;                         // bounds of `rects`
  std::vector<QRect> rects;
  QRgb* Row(int y) const { return bits + y * stride; }
  bool InBox(int x, int y) const {
    return (unsigned)x - (unsigned)left < width && (unsigned)y - (unsigned)top < height;
  }
  bool Contains(int x, int y) const {
    if (!InBox(x, y)) return false;
    if (single) return true;
    for (const QRect& r : rects)
      if (x >= r.left() && x <= r.right() && y >= r.top() && y <= r.bottom()) return true;
    return false;
  }
};

// Raised whenever an image a DC may draw on is replaced (a window's image
// after a resize), so that no DC keeps drawing on the old pixels.  The
// images themselves are never shared with another QImage, so their pixels
// stay where they are in between.
extern unsigned g_targetEpoch;
// The DC whose single pixels SetPixel writes straight into its image: its area
// is current and plain, and a desktop unit is one device pixel.  Anything
// that could change that lets it go.
struct DC;
extern DC* g_pixelDC;
inline void TargetsChanged() {
  ++g_targetEpoch;
  g_pixelDC = nullptr;
}

struct DC {
  Window* window = nullptr;  // window DC, or null for a memory DC / the screen
  bool memory = false;
  bool screen = false;
  GdiObj* bitmap = nullptr;  // memory DC: the selected bitmap
  GdiObj* pen = nullptr;
  GdiObj* brush = nullptr;
  GdiObj* font = nullptr;
  HPALETTE palette = nullptr;
  int rop2 = R2_COPYPEN;
  COLORREF bk = RGB(255, 255, 255);
  COLORREF text = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int stretchMode = 1;
  bool hasClip = false;
  QRegion clip;        // selected clip region
  bool hasPaintClip = false;
  QRegion paintClip;   // BeginPaint's update region
  POINT pos{0, 0};
  // The drawable area, kept until the clip or the target changes.
  bool areaValid = false;
  DrawArea area;
};

DC* GetDCData(HDC h);  // null when not a live DC
QImage* Target(DC* dc);
// The pixels a drawing on this DC may touch, in its coordinates.
QRegion DrawableRegion(DC* dc);
void MarkDrawn(DC* dc, const QRect& r);

// What was drawn into a window's image and has not reached the screen yet:
// a few rectangles (beyond a handful they merge into their bounds) and the
// bounds of the single pixels set since.
class DrawnArea {
 public:
  void Add(const QRect& r) {
    Show(r);
    if (inkKnown_) ink_ |= r;
  }
  void AddPixel(int x, int y) {
    // Most pixels land inside the bounds already: two comparisons.
    if ((unsigned)x - (unsigned)x0_ > w_ || (unsigned)y - (unsigned)y0_ > h_) GrowPixels(x, y);
  }
  bool Empty() const { return rects_.empty() && !HasPixels(); }
  // The whole area, which is then cleared.
  QRegion Take();

  // The ink: from the moment the window's image is known to be all black
  // (StartInk), the bounds of everything drawn on it since.  A black fill
  // then need only cover the ink: the rest of the image is black already,
  // and so is the screen there, which shows the image but for what is still
  // to be sent (a window's first showing sends it whole).
  void StartInk() {
    inkKnown_ = true;
    ink_ = QRect();
  }
  void ForgetInk() { inkKnown_ = false; }
  bool InkKnown() const { return inkKnown_; }
  QRect Ink() const { return HasPixels() ? ink_ | PixelBounds() : ink_; }
  // `r` was filled black over its ink: only that part changed.
  void Blacked(const QRect& r) {
    const QRect ink = Ink();
    Show(r & ink);
    if (r.contains(ink)) ink_ = QRect();
  }

 private:
  void Show(const QRect& r);
  // The single pixels' bounds: from (x0_, y0_), w_ + 1 by h_ + 1 pixels.  With
  // no pixel, x0_ is INT_MIN, where no pixel can be, and w_ is 0.
  bool HasPixels() const { return x0_ != INT_MIN; }
  QRect PixelBounds() const { return QRect(x0_, y0_, (int)w_ + 1, (int)h_ + 1); }
  void ForgetPixels() {
    x0_ = y0_ = INT_MIN;
    w_ = h_ = 0;
  }
  Q_NEVER_INLINE void GrowPixels(int x, int y) {
    if (!HasPixels()) {
      x0_ = x;
      y0_ = y;
      return;
    }
    const int x1 = std::max(x0_ + (int)w_, x), y1 = std::max(y0_ + (int)h_, y);
    x0_ = std::min(x0_, x);
    y0_ = std::min(y0_, y);
    w_ = (unsigned)(x1 - x0_);
    h_ = (unsigned)(y1 - y0_);
  }
  std::vector<QRect> rects_;
  int x0_ = INT_MIN, y0_ = INT_MIN;
  unsigned w_ = 0, h_ = 0;
  bool inkKnown_ = false;
  QRect ink_;
};

inline QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF ToColorref(QRgb p) { return RGB(qRed(p), qGreen(p), qBlue(p)); }

// ---------------------------------------------------------------- menus
struct MenuItem {
  std::string text;
  UINT id = 0;
  UINT flags = 0;
  std::shared_ptr<struct Menu> popup;
  QAction* action = nullptr;  // while attached to a window
};
struct Menu {
  std::vector<MenuItem> items;
  Window* attached = nullptr;
  QMenuBar* bar = nullptr;
};
Menu* GetMenuData(HMENU h);

// ---------------------------------------------------------------- windows
struct Window {
  std::string className;
  std::string title;
  DWORD style = 0;
  WNDPROC proc = nullptr;
  DLGPROC dlgProc = nullptr;
  bool isDialog = false;
  bool modal = false;
  bool dialogEnded = false;
  INT_PTR dialogResult = 0;
  Window* parent = nullptr;
  Window* owner = nullptr;
  HostWidget* host = nullptr;
  Canvas* canvas = nullptr;
  QImage backing;
  // The image is a view of the client area in the toolkit's own backing
  // store rather than pixels of our own (see window.cpp).
  bool inStore = false;
  const uchar* storeBits = nullptr;  // the store's image when the window moved in
  QSize storeSize;
  // The store under child windows may hold the children's pixels: the
  // window's own are in each child's `under`.
  bool childrenPainted = false;
  // The image is zero pages not yet drawn on (see BlankImage).
  bool blank = false;
  QImage under;     // on a child: its parent's pixels under it
  QRect underRect;  // where, in the parent's image
  QRegion update;  // invalid region waiting for WM_PAINT
  DrawnArea drawn;  // drawn into the backing image, not yet on the screen
  int x = 0, y = 0, width = 0, height = 0;  // outer rectangle
  bool visible = false;
  bool minimized = false;
  bool destroyed = false;
  // The class icon, still to be given to the window (see SetPendingIcons).
  HICON pendingIcon = nullptr;
  Menu* menu = nullptr;
  std::map<int, QWidget*> controls;  // dialog controls by id
  int dcCount = 0;
};

Window* Win(HWND h);  // null when not a live window
HWND Handle(Window* w);
int MenuBarHeight(Window* w);
void ClientSize(Window* w, int* cw, int* ch);
void ApplyGeometry(Window* w);  // after outer size, style or menu changed
// The monitor the game plays on, and its top-left corner: the game's screen
// coordinates start there.
QScreen* HomeScreen();
QPoint HomeOrigin();
// Shows a top-level window as its style and rectangle ask (full screen,
// maximised, or where it was placed), also out of the minimised state.
void ShowHost(Window* w);
// Places a dialog over the middle of the window that owns it, on the screen.
void CentreOverOwner(Window* w);
// Where the desktop has the window: the outer rectangle in game coordinates.
QRect DesktopRect(Window* w);
// The desktop moved the window: its rectangle follows.
void FollowDesktopMove(Window* w);
// Called while the toolkit paints the window's canvas: true when the pixels
// already are in its backing store and nothing needs copying.
bool PaintsInStore(Window* w);
// Takes the window's pixels back into an image of its own, before the
// toolkit may drop or reshape its store or paint another window over it.
void LeaveStore(Window* w);
// Puts the window's own pixels back under its children in the store; the
// game draws on or reads the window only after this.
void PutUnders(Window* w);
// Keeps the pixels under child windows before the toolkit may paint them.
void BeforeToolkitPaints();
// Makes a blank window image black before it is drawn on or read.
void FillBlank(Window* w);
void PostInput(Window* w, UINT msg, WPARAM wp, LPARAM lp);
void RemoveControls(Window* w);
// Enter presses the focused push button, or else the default one (IDOK when
// none is marked); Escape is Cancel.
void DialogEnterOrEscape(Window* w, int vk);
extern std::vector<Window*>& g_windows;
extern HWND g_focus;
extern DWORD* g_generationCancel;
extern int g_desktopW, g_desktopH;
// Stands for GetDesktopWindow().
extern Window g_desktop;
// A dialog control's handle is its widget; null for any other handle.
QWidget* ControlWidget(HWND hwnd);

// A window whose image may live in the toolkit's backing store, and one that
// can right now; EnterStore moves its pixels there (false when it cannot).
bool StoreCandidate(Window* w);
bool CanLiveInStore(Window* w);
bool EnterStore(Window* w, bool duringPaint);
// A fresh image of untouched zero pages; null when none can be had.
QImage BlankImage(int pw, int ph);

// Attaches the menu bar of `m` to the window's host widget (null detaches).
void AttachMenu(Window* w, Menu* m);
// Alt and a letter or digit on a window (its virtual-key code): opens the
// menu of a shown menu bar in it (its own, or a child's) with that
// underlined letter, or chooses the bar's command with it.
bool OpenMenuByMnemonic(Window* w, int key);

// ---------------------------------------------------------------- resources
// The resource entry behind a sound buffer, for the test log.
std::string ResourceNameOf(const void* data);
DWORD ResourceSizeOf(const void* data);

// ---------------------------------------------------------------- the loop
// The messages waiting to be handled, oldest first.
extern std::deque<MSG> g_queue;
struct TimerEntry {
  Window* window;
  UINT_PTR id;
  UINT interval;
  DWORD due;
};
extern std::vector<TimerEntry> g_timers;
// Sleeps until the steady-clock tick `deadline` (RealTicks() time) or until
// the desktop delivers an event, whichever comes first, and handles the
// desktop's events meanwhile.
void SleepForEvents(DWORD deadline);
// Set while the program's own loop waits with no message being handled.
extern bool g_loopIdle;
// The desktop's request to end the program (a signal): taken once; run from
// the idle loop, it closes the game the way the game asked.
bool TakeEndRequest();
void RunEndRequest();
// The desktop's word on whether the program has the keyboard, followed from
// the application object's making on.  The loop posts WM_ACTIVATEAPP when
// the news is due, and wakes for it.
void WatchActivation(QGuiApplication* app);
void PostActivationNews();
int MillisecondsToActivationNews();
// Sends the desktop's termination signals to the program's own handling
// (again after a library that may have replaced it has started).
void InstallSignalHandlers();

// ---------------------------------------------------------------- test hooks
extern bool g_test;
DWORD RealTicks();
void RunDialogScript(HWND dialog);

QString FromAnsi(const char* s);
std::string ToAnsi(const QString& s);

// ---------------------------------------------------------------- drawing on a DC
// The look-ups every drawing call starts with, kept inline for the paths the
// game runs all the time.  The DC last looked up: a run of calls on one DC
// skips the set of live DCs.
extern DC* g_lastDC;
DC* LookUpDC(DC* d);
inline DC* FindDC(HDC h) {
  auto* d = reinterpret_cast<DC*>(h);
  return d == g_lastDC ? d : LookUpDC(d);
}
inline QImage* TargetOf(DC* dc) {
  if (dc->window) return &dc->window->backing;
  if (dc->bitmap) return &dc->bitmap->image;
  return nullptr;
}
inline bool IsMonoDC(DC* dc) { return dc->memory && dc->bitmap && dc->bitmap->mono; }
// Makes the DC work its area out again before it next draws.
void ForgetArea(DC* dc);
const DrawArea* MakeArea(DC* dc, QImage* img);
// The DC's drawable area and pixels; null when it has no image.
inline const DrawArea* Area(DC* dc) {
  if (dc->window && dc->window->childrenPainted) PutUnders(dc->window);
  if (dc->areaValid && dc->area.epoch == g_targetEpoch) return &dc->area;
  return MakeArea(dc, TargetOf(dc));
}
// COLORREF (0x00BBGGRR) as a pixel value (0x00RRGGBB).
inline uint32_t PixelOf(COLORREF c) {
  // 0x..BBGGRR to 0x00RRGGBB: the low three bytes in the other order.
  return __builtin_bswap32(c << 8);
}
// Draws with a painter on the DC's image, clipped to its area, in desktop
// units; `bounds` (units) is what may have changed.
void WithPainter(DC* d, const std::function<void(QPainter&)>& draw, const QRect& bounds);

}  // namespace plat

// A class icon, decoded when a window first needs it (see LoadIconA).
QIcon IconOf(HICON icon);
