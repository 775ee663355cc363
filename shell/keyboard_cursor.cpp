// The keyboard cursor of both games.
#include "shell/keyboard_cursor.h"

#include <algorithm>

#include "common/shell_state.h"
#include "common/variant.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "puzzle/play.h"
#include "shell/window_proc.h"

namespace {
bool g_shown = false;
int g_column = 0, g_row = 0;

void GridSize(int* columns, int* rows) {
  if (kGameVariant == 0) {
    *columns = Board->columns;
    *rows = Board->rows;
  } else {
    FieldGridSize(columns, rows);
  }
}

// The keys act while a board is on the screen and in play.
bool BoardInPlay() {
  int columns, rows;
  GridSize(&columns, &rows);
  if (columns <= 0 || rows <= 0 || columns > 100 || rows > 100) return false;
  if (kGameVariant == 0) return Board->gameInProgress == 1 && !titleScreenFlag && columns <= kMaxCells && rows <= kMaxCells;
  return !titleScreenFlag && !IsFieldGameOver();
}

void RedrawCursorCell(int column, int row) {
  if (kGameVariant == 0)
    RedrawCell(column, row);
  else
    RedrawFieldSquare(column, row);
}

// The point a click on the cell would have: the middle of the cell by the
// same geometry the click's hit test uses.
POINT ClickPoint(int column, int row) {
  if (kGameVariant == 0) {
    const int cw = Board->boardWidth / Board->columns, ch = Board->boardHeight / Board->rows;
    return POINT{column * cw + cw / 2, row * ch + ch / 2};
  }
  const RECT r = FieldSquareRect(column, row);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Where the cursor appears: the cell under the pointer, or the middle one
// when the pointer is off the board.
void StartCell(int columns, int rows) {
  g_column = columns / 2;
  g_row = rows / 2;
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(MainWindow, &p)) return;
  RECT client;
  GetClientRect(MainWindow, &client);
  if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom) return;
  int column, row;
  if (kGameVariant == 0) {
    HitCell(p.x, p.y, &column, &row);
  } else if (!FieldSquareAt(p.x, p.y, &column, &row)) {
    return;
  }
  g_column = column;
  g_row = row;
}

void ActOnCell(WPARAM key) {
  const POINT p = ClickPoint(g_column, g_row);
  const bool mark = kGameVariant != 0 && (key == 'F' || (key == VK_SPACE && (GetKeyState(VK_SHIFT) & 0x8000)));
  if (mark) {
    ToggleMark(p.x, p.y);
    return;
  }
  // A left click, pressed and let go.
  generationCancelRequested = 1;
  ClickBoard(p.x, p.y);
  leftButtonFlag = 0;
}
}  // namespace

bool HandleCursorKey(WPARAM key) {
  const bool act = key == VK_SPACE || key == VK_RETURN || (key == 'F' && kGameVariant != 0);
  const bool move = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_HOME ||
                    key == VK_END || key == VK_PRIOR || key == VK_NEXT;
  if (!act && !move) return false;
  if (!BoardInPlay()) return true;
  int columns, rows;
  GridSize(&columns, &rows);
  const bool wasShown = g_shown && g_column < columns && g_row < rows;
  const int oldColumn = g_column, oldRow = g_row;
  if (!wasShown) StartCell(columns, rows);
  if (act && wasShown) {
    ActOnCell(key);
    return true;
  }
  switch (key) {
    case VK_LEFT: g_column = std::max(g_column - 1, 0); break;
    case VK_RIGHT: g_column = std::min(g_column + 1, columns - 1); break;
    case VK_UP: g_row = std::max(g_row - 1, 0); break;
    case VK_DOWN: g_row = std::min(g_row + 1, rows - 1); break;
    case VK_HOME: g_column = 0; break;
    case VK_END: g_column = columns - 1; break;
    case VK_PRIOR: g_row = 0; break;
    case VK_NEXT: g_row = rows - 1; break;
    default: break;  // Space, Enter or F on a hidden cursor only show it
  }
  g_shown = true;
  if (wasShown && (oldColumn != g_column || oldRow != g_row)) {
    g_shown = false;  // the old cell is drawn without its frame
    RedrawCursorCell(oldColumn, oldRow);
    g_shown = true;
  }
  RedrawCursorCell(g_column, g_row);
  return true;
}

void HideBoardCursor() {
  if (!g_shown) return;
  g_shown = false;
  int columns, rows;
  GridSize(&columns, &rows);
  const int most = kGameVariant == 0 ? kMaxCells : 100;
  if (!titleScreenFlag && g_column < columns && g_row < rows && columns <= most && rows <= most)
    RedrawCursorCell(g_column, g_row);
}

void ForgetBoardCursor() { g_shown = false; }

bool IsCursorCell(int column, int row) { return g_shown && column == g_column && row == g_row; }

void DrawCursorFrame(HDC dc, const RECT& cell) {
  // A bright band between two dark lines shows on any picture, light or
  // dark, and inside the card back's own border.
  const int inset = std::min<int>({7, (cell.right - cell.left) / 8, (cell.bottom - cell.top) / 8});
  const RECT outer{cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset};
  const struct {
    int from, width;
    COLORREF colour;
  } rings[] = {{0, 1, RGB(10, 10, 10)}, {1, 4, kCursorColour}, {5, 1, RGB(10, 10, 10)}};
  for (const auto& ring : rings) {
    const RECT r{outer.left + ring.from, outer.top + ring.from, outer.right - ring.from, outer.bottom - ring.from};
    if (r.right - r.left <= 2 * ring.width || r.bottom - r.top <= 2 * ring.width) break;
    FillRectColor(dc, r.left, r.top, r.right, r.top + ring.width, ring.colour);
    FillRectColor(dc, r.left, r.bottom - ring.width, r.right, r.bottom, ring.colour);
    FillRectColor(dc, r.left, r.top + ring.width, r.left + ring.width, r.bottom - ring.width, ring.colour);
    FillRectColor(dc, r.right - ring.width, r.top + ring.width, r.right, r.bottom - ring.width, ring.colour);
  }
}
