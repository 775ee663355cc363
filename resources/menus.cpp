// Menu templates: "MainMenu" of the swap puzzle, "HfdMenu" of the mine field.
#include "platform/platform.h"
#include "resources/templates.h"

namespace {

const MenuTemplateItem kMainMenu[] = {
    {0, "&Start New Game", 104, 0},
    {0, "&Play", 0, MF_POPUP},
    {1, "Play with &4x4 Board", 5004, 0},
    {1, "Play with &6x6 Board", 5006, 0},
    {1, "Play with &9x9 Board", 5009, 0},
    {1, "Play with &12x12 Board", 5012, 0},
    {1, "Play with &15x15 Board", 5015, 0},
    {1, "Play with &20x20 Board", 5020, 0},
    {1, "", 0, MF_SEPARATOR},
    SCREEN_CLOCK_SOUND(1),
    {1, "", 0, MF_SEPARATOR},
    {1, "&Load Game", 106, 0},
    {1, "&Save Game", 107, 0},
    {1, "", 0, MF_SEPARATOR},
    {1, "&Capture Game Screen", 120, 0},
    {1, "Save &Options", 209, 0},
    {1, "E&xit Swapster (X)", 108, 0},
    {0, "&Stats", 0, MF_POPUP},
    {1, "&Toggle Statistics On/Off", 103, 0},
    {1, "&Create Statistics File", 110, 0},
    {1, "&Open Statistics File", 111, 0},
    {1, "", 0, MF_SEPARATOR},
    RECENT(7040, 1),
    {0, "&Image", 0, MF_POPUP},
    {1, "Cathedral (Tampa, FL)", 8000, 0},
    {1, "Rocket-Red Fire Engine", 8004, 0},
    {1, "", 0, MF_SEPARATOR},
    {1, "Hardwood Gameroom", 8001, 0},
    {1, "The Ultimate Deck", 8002, 0},
    {1, "The Orbquest Game Screen", 8003, 0},
    {1, "Beautiful Blue Bird in Swamp", 8005, 0},
    {1, "Giant Cat Reflected in Lake", 8006, 0},
    {1, "Colorful Stained Glass Window", 8007, 0},
    {1, "", 0, MF_SEPARATOR},
    {1, "Generate Landscape (Takes a While)", 117, 0},
    {1, "Generate Multi-color Landscape", 116, 0},
    {1, "Generate Banded 3D Fractal", 118, 0},
    {1, "", 0, MF_SEPARATOR},
    {1, "&Save Current Puzzle Image", 119, 0},
    {0, "&User Image", 0, MF_POPUP},
    {1, "&Open Image File", 200, 0},
    RECENT(7000, 1),
    {0, "&Help", 0, MF_POPUP},
    {1, "&How to Play (F1)", 500, 0},
    {1, "&About Swapster", 502, 0},
    {0, nullptr, 0, 0},
};

}  // namespace

void RegisterFieldMenu();

void RegisterMenuTemplates() {
  RegisterMenuTemplate("MainMenu", kMainMenu);
  RegisterFieldMenu();
}
