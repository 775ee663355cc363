// The board record and the start of a new game.
#include "puzzle/board.h"

#include <cstring>

#include "common/play_clock.h"
#include "common/random.h"
#include "common/shell_state.h"
#include "puzzle/board_hooks.h"
#include "puzzle/play.h"
#include "puzzle/statistics.h"
#include "sound/sounds.h"
#include "sound/speech.h"

static BoardRecord g_board;
BoardRecord* Board = &g_board;

RECT CellRect(int i, int j) {
  const int w = Board->boardWidth, h = Board->boardHeight;
  const int c = Board->columns > 0 ? Board->columns : 1, r = Board->rows > 0 ? Board->rows : 1;
  return RECT{i * w / c, j * h / r, (i + 1) * w / c, (j + 1) * h / r};
}

int SizeRow(int size) {
  static const int sizes[] = {4, 6, 9, 12, 15, 20};
  for (int k = 0; k < 6; ++k)
    if (sizes[k] == size) return k;
  return -1;
}

void SetBoardDefaults() {
  memset(Board, 0, sizeof(*Board));
  Board->firstSelected = -1;
  Board->secondSelected = -1;
  Board->columns = 6;
  Board->rows = 6;
  Board->boardSize = 6;
  Board->faceDown = 1;
  Board->moveCount = 0;
  Board->gameInProgress = 0;
  Board->statsOn = 1;
}

void SwapPieces(int i1, int j1, int i2, int j2) {
  int a = CellIndex(i1, j1), b = CellIndex(i2, j2);
  int32_t c = Board->homeColumn[a], r = Board->homeRow[a];
  Board->homeColumn[a] = Board->homeColumn[b];
  Board->homeRow[a] = Board->homeRow[b];
  Board->homeColumn[b] = c;
  Board->homeRow[b] = r;
}

bool IsSolved() {
  for (int i = 0; i < Board->columns; ++i)
    for (int j = 0; j < Board->rows; ++j) {
      int k = CellIndex(i, j);
      if (Board->homeColumn[k] != i || Board->homeRow[k] != j) return false;
    }
  return true;
}

void ResetBoard() {
  Board->moveCount = 0;
  Board->statsSlot = FindStatsSlot();
  Board->gameInProgress = 1;
  Board->firstSelected = Board->secondSelected = -1;
  ResetPlayClock();
  Board->startTicks = GetTickCount();
  titleScreenFlag = 0;
  ForgetKeyboardFrame();
  InvalidateRect(MainWindow, nullptr, FALSE);
}

void ShuffleBoard() {
  SeedRandom(GetTickCount());
  const int n = Board->columns, m = Board->rows;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < m; ++j) {
      Board->homeColumn[CellIndex(i, j)] = i;
      Board->homeRow[CellIndex(i, j)] = j;
    }
  for (int pass = 0; pass < 5; ++pass)
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < m; ++j) {
        int ti = (int)RandomBelow((uint32_t)n);
        int tj = (int)RandomBelow((uint32_t)m);
        int here = CellIndex(i, j), there = CellIndex(ti, tj);
        // Never move a piece onto its home cell.
        if (Board->homeColumn[here] == ti && Board->homeRow[here] == tj) continue;
        if (Board->homeColumn[there] == i && Board->homeRow[there] == j) continue;
        SwapPieces(i, j, ti, tj);
      }
  InvalidateRect(MainWindow, nullptr, FALSE);
}

void AnnounceBestScore() {
  if (Board->statsOn != 1 || !soundFlag) return;
  uint32_t best = StatsBestMoves(Board->boardSize, Board->statsSlot);
  uint32_t won = StatsGamesWon(Board->boardSize, Board->statsSlot);
  if (best == 0 || won == 0) return;
  PlaySoundSync(Sounds.bestScore);
  SayNumber((int32_t)best);
  PlaySoundSync(Sounds.goodLuck);
}

void StartNewGame() {
  if (Board->gameInProgress == 1) EndGame();
  ResetBoard();
  ShuffleBoard();
  AnnounceBestScore();
}

void StartSizedGame(int size, int faceDown) {
  Board->columns = Board->rows = Board->boardSize = size;
  Board->faceDown = faceDown;
  ResetBoard();
  ShuffleBoard();
  AnnounceBestScore();
}
