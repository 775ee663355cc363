// The mine field's dialog templates: the high-score dialogs, the detector
// help and the background chooser.
#include "platform/platform.h"

namespace {
constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// The score dialogs open in the middle of the screen.  Their label column is
// wide enough for the longest label, "New Best Perfect Game Score:", on one
// line in the dialogs' font.
constexpr DWORD kCentred = kModal | DS_CENTER;

const DialogControlTemplate kHighScoreControls[] = {
    {"STATIC", "Best Score: ", 3100, kChild | SS_LEFT, 5, 5, 130, 14},
    {"STATIC", "Best Score Holder: ", -1, kChild | SS_LEFT, 5, 25, 130, 14},
    {"STATIC", "Your Score: ", 3101, kChild | SS_LEFT, 5, 45, 130, 14},
    {"STATIC", "", 3000, kChild | SS_LEFT, 140, 5, 90, 14},
    {"STATIC", "", 3001, kChild | SS_LEFT, 140, 25, 90, 14},
    {"STATIC", "", 3002, kChild | SS_LEFT, 140, 45, 90, 14},
    {"BUTTON", "&Done", 1, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 87, 85, 60, 14},
    {"STATIC", "Note: Perfect games are scored by time.", -1, kChild | SS_LEFT, 5, 105, 225, 14},
};
const DialogTemplate kHighScoreDialog = {"HfdHSDialog", "High Score:", kCentred, 0, 0, 235, 125,
                                         kHighScoreControls, 8};

const DialogControlTemplate kSetHighScoreControls[] = {
    {"STATIC", "Old Best Score: ", 3100, kChild | SS_LEFT, 5, 5, 130, 14},
    {"STATIC", "New Best Score: ", 3101, kChild | SS_LEFT, 5, 25, 130, 14},
    {"STATIC", "Your Name: ", -1, kChild | SS_LEFT, 5, 45, 130, 14},
    {"STATIC", "", 3000, kChild | SS_LEFT, 140, 5, 90, 14},
    {"STATIC", "", 3001, kChild | SS_LEFT, 140, 25, 90, 14},
    {"EDIT", "", 3002, kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 140, 44, 90, 16},
    {"BUTTON", "&Done", 1, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 15, 65, 65, 15},
    {"STATIC",
     "Special Effect: After clicking 'Done', move the mouse around with the left button both pressed and "
     "unpressed.",
     -1, kChild | SS_LEFT, 5, 85, 225, 30},
};
const DialogTemplate kSetHighScoreDialog = {"HfdSetHSDialog", "Enter Your Name:", kCentred, 0, 0, 235, 118,
                                            kSetHighScoreControls, 8};

const DialogControlTemplate kBombInstControls[] = {
    {"BUTTON", "&Done", 1, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 200, 80, 30},
    {"BUTTON", "&More Help", 3000, kChild | WS_TABSTOP | BS_PUSHBUTTON, 80, 200, 100, 30},
};
const DialogTemplate kBombInstDialog = {"BombInstDialog", "Hotfield Detectors:", kModal, 0, 0, 180, 230,
                                        kBombInstControls, 2};

const DialogControlTemplate kChooseBkgControls[] = {
    {"BUTTON", "&Load Background File", 3002, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 200, 160, 14},
};
const DialogTemplate kChooseBkgDialog = {"ChooseBkgDialog", "Click on a Background:", kModal, 0, 0, 160, 215,
                                         kChooseBkgControls, 1};
}  // namespace

void RegisterFieldDialogs() {
  RegisterDialogTemplate(&kHighScoreDialog);
  RegisterDialogTemplate(&kSetHighScoreDialog);
  RegisterDialogTemplate(&kBombInstDialog);
  RegisterDialogTemplate(&kChooseBkgDialog);
}
