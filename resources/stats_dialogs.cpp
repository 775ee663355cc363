// The statistics dialog and the dialog that names a new statistics file.
#include "platform/platform.h"

void RegisterStatsDialogs();

namespace {
// A 620 x 480 client area: the statistics picture, 620 x 440, and under it
// the two buttons, 460 and 160 pixels wide and 40 high.  The dialog sizes
// itself to the exact client area when it opens.
const DialogControlTemplate kStatsControls[] = {
    {"BUTTON", "&Show General Statistics", 3000, BS_PUSHBUTTON | WS_TABSTOP, 0, 271, 307, 25},
    {"BUTTON", "&Done", IDOK, BS_PUSHBUTTON | WS_TABSTOP, 307, 271, 106, 25},
};
const DialogTemplate kStatsDialog = {"StatsDialog", "", WS_POPUP | WS_BORDER, 0, 0, 413, 296, kStatsControls, 2};

const DialogControlTemplate kNameControls[] = {
    {"STATIC", "Enter stat file name (up to 8 letters, no period):", -1, SS_LEFT, 8, 6, 170, 20},
    {"EDIT", "", 3000, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 28, 170, 13},
    {"BUTTON", "&Done", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 36, 48, 50, 15},
    {"BUTTON", "&Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 100, 48, 50, 15},
};
const DialogTemplate kNameDialog = {"GetNameDialog", "Choose a Name:",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                    0, 0, 186, 70, kNameControls, 4};
}  // namespace

void RegisterStatsDialogs() {
  RegisterDialogTemplate(&kStatsDialog);
  RegisterDialogTemplate(&kNameDialog);
}
