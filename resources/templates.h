// The program's menus and dialog templates, registered with the desktop
// layer before the first window is made.
#pragma once

void RegisterGameResources();
