// What the desktop layer offers beyond the classic calls: the one wait used by
// every animation, input handling while a picture is being generated, the
// menu and dialog templates the program registers, and start-up housekeeping.
#pragma once

#include "platform/win32.h"

// Busy-waits for the given milliseconds of GetTickCount() time.  The screen is
// kept up to date meanwhile, but no game message is handled: clicks and keys
// stay queued until the wait is over (or, while a generator runs, only raise
// its cancel flag; see SetGenerationInput).
void WaitMilliseconds(DWORD ms);

// Shows on the screen whatever has been drawn into any window since the last
// flush.  Long drawings (the generators) call it now and then.
void FlushScreen();

// While `cancelFlag` is not null, every click, key or menu command the desktop
// delivers sets *cancelFlag to 1 and is otherwise dropped, and FlushScreen()
// also takes that input.  Pass null to return to normal message handling.
void SetGenerationInput(DWORD* cancelFlag);

// The desktop asks the program to end (SIGTERM, SIGINT or SIGHUP).  When the
// request finds the message loop idle, `close` runs from the loop and should
// close the main window without questions.  When it comes while a dialog, a
// message box or an animation is under way, the program cannot unwind safely:
// `save` writes what must outlive the run, and the program then ends at once
// with exit status 0.  Either may be null (the program then just ends).
void SetEndRequestHandlers(void (*close)(), void (*save)());

// Several copies of the game may keep their files in one folder.  A program
// that reads a file again, merges its own changes into what it finds and
// writes the result holds this lock from before the read until the write has
// been closed, so that no other program's write falls in between and is
// lost.  The lock belongs to the file's folder, which every program writing
// there takes (the file itself is replaced by each write).  Returns the lock
// for UnlockFileUpdate, or HFILE_ERROR when there is none to be had (no
// folder, no locks on its file system, or a holder that does not let go
// within seconds); the caller then goes on without it.
HFILE LockFileUpdate(LPCSTR path);
void UnlockFileUpdate(HFILE lock);

// The note the program was started with, for the player to read once the
// game's window is up; null when there is none.
const char* StartUpNote();

// Removes temporary files that an interrupted save left in `directory`.
void RemoveStaleTempFiles(const char* directory);

// Gives memory the program has freed back to the system, once a burst of
// work that needed much of it (the start-up decoding) is over.
void ReturnFreedMemory();

// A bitmap made of pixels the caller already holds, instead of a copy of them:
// `words` are width x height 0x00RRGGBB words, top row first, and belong to
// the bitmap from then on; it calls release(context) when it is deleted.
// Returns 0, leaving the words with the caller, where the screen's pixels are
// not the desktop's units (a scaled screen) or no bitmap may have that size.
HBITMAP CreateBitmapOverWords(int width, int height, uint32_t* words, void (*release)(void*), void* context);

// A program with work to start before the connection to the desktop is made
// (reading its start-up files and decoding them on another thread) defines
// this.  It is called first, with the command line as WinMain gets it, before
// any window exists; it may start threads but must not use windows or DCs.
void PreStartUp(const char* commandLine) __attribute__((weak));

// A game names the menu entry its windows belong to by defining this: the
// desktop file's name without ".desktop", by which docks and Wayland
// desktops match the running game to its entry.
const char* DesktopEntryName() __attribute__((weak));

// A program that only shows message boxes, and must start no other program
// and ask no desktop service for anything, defines this to return true: the
// toolkit then gets no session bus (which it would otherwise start one for,
// with dbus-launch, where none runs) and no accessibility bus.
bool AsksNoDesktopServices() __attribute__((weak));

// ---------------------------------------------------------------- templates
// A menu template is a flat list: an item with MF_POPUP owns the items that
// follow it one level deeper.  The list ends with an entry whose text is null.
struct MenuTemplateItem {
  int depth;
  const char* text;  // "&" marks the mnemonic; null ends the list
  UINT id;
  UINT flags;  // MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED
};

// Dialog controls by class: "BUTTON", "STATIC", "EDIT".  Positions and sizes
// are in dialog units.
struct DialogControlTemplate {
  const char* className;
  const char* text;
  int id;
  DWORD style;
  short x, y, cx, cy;
};

struct DialogTemplate {
  const char* name;
  const char* caption;
  DWORD style;
  short x, y, cx, cy;
  const DialogControlTemplate* controls;
  int controlCount;
};

#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_CHECKBOX 0x0002L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_RADIOBUTTON 0x0004L
#define BS_AUTORADIOBUTTON 0x0009L
#define BS_GROUPBOX 0x0007L
#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L

void RegisterMenuTemplate(const char* name, const MenuTemplateItem* items);
void RegisterDialogTemplate(const DialogTemplate* dialog);

// Dialog units to pixels, as the dialogs are laid out.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
