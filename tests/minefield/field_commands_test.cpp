// The mine field's menu commands as a player meets them: the generators, a
// photo as the background, the clock switch, and the score dialogs' place and
// labels.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "field_fixture.h"
#include "imaging/game_pictures.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "support/bitmap_helpers.h"

namespace {

using FieldCommands = FieldFixture;

TEST_F(FieldCommands, GeneratorsAskFirstAndTheirPictureBecomesTheBackground) {
  command(6100);
  TestQueueMessageBoxAnswer(IDNO);
  command(118);
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Game in Progress:"}));
  EXPECT_EQ(Board->gameInProgress, 1) << "No keeps the game";
  EXPECT_EQ(BackgroundBitmap, nullptr);

  TestMessageBoxes().clear();
  command(118);
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Game in Progress:", "Notice:"}));
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(Board->statsOn, 0) << "statistics go off with a generated picture";
  EXPECT_EQ(titleScreenFlag, 1u);
  int w, h;
  SizeOf(BackgroundBitmap, &w, &h);
  EXPECT_EQ(w * 10000 + h, 960 * 10000 + 720) << "a full-size background";
  EXPECT_EQ(BackgroundIsTexture, 0);
  EXPECT_EQ(TestWindowPixel(MainWindow, 2, 2), RGB(0, 0, 0)) << "the title screen follows";

  // Statistics are off now: the next picture asks nothing.
  TestMessageBoxes().clear();
  command(118);
  EXPECT_TRUE(TestMessageBoxes().empty());
}

TEST_F(FieldCommands, ACamerasPhotoBecomesTheBackgroundThroughTheChooser) {
  const std::string photo = folder_ + "photo.jpg";
  QImage picture(6000, 4000, QImage::Format_RGB32);
  picture.fill(QColor(30, 160, 90));
  ASSERT_TRUE(picture.save(QString::fromStdString(photo), "JPG", 90));
  TestQueueFileDialogAnswer(photo);
  command(115);  // the chooser opens the file dialog at once for a background that is no texture sheet
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_EQ(BackgroundPath, photo);
  EXPECT_EQ(BackgroundIsTexture, 0);
  int w, h;
  SizeOf(BackgroundBitmap, &w, &h);
  EXPECT_EQ(w * 10000 + h, Board->boardWidth * 10000 + Board->boardHeight);
  EXPECT_FALSE(PuzzlePicture.flags & PICTURE_HAS_DATA) << "the background is not kept decoded";
}

TEST_F(FieldCommands, TheClockSwitchTakesTheFaceAwayButNotTheTitleTime) {
  command(6100);
  int w, h;
  const std::vector<uint32_t> board = TestWindowImage(MainWindow, &w, &h);
  TestAdvanceTicks(1000);
  Pump();
  ASSERT_NE(TestWindowImage(MainWindow, &w, &h), board) << "the tick draws the face";

  command(121);
  ASSERT_EQ(clockFlag, 0u);
  for (int tick = 0; tick < 3; ++tick) {
    TestAdvanceTicks(1000);
    Pump();
  }
  EXPECT_EQ(TestWindowImage(MainWindow, &w, &h), board) << "the face is gone and stays away";
  char title[160];
  GetWindowTextA(MainWindow, title, sizeof title);
  EXPECT_NE(strstr(title, " Time Used: 00:00:04"), nullptr) << title;
}

// The menu items with this text in every menu shown (the window's and the
// strip's), as a player would choose them.
std::vector<QAction*> MenuItems(const char* text) {
  std::vector<QAction*> out;
  for (QWidget* w : QApplication::allWidgets())
    if (auto* menu = qobject_cast<QMenu*>(w))
      for (QAction* a : menu->actions())
        if (a->text() == QLatin1String(text)) out.push_back(a);
  return out;
}

TEST_F(FieldCommands, LevelMarksShowTheGameInPlayAndMoveAtTheNextGame) {
  const char* const medium = "Medium (1 Bomb per 8 Squares)";
  const char* const impossible = "Impossible (1 Bomb per 3 Squares)";
  // The first letters of the two items, one for each mark shown.
  auto marks = [&] {
    std::string shown;
    for (const char* text : {medium, impossible})
      for (QAction* a : MenuItems(text))
        if (a->isChecked()) shown += text[0];
    return shown;
  };
  const size_t menus = MenuItems(medium).size();
  ASSERT_GE(menus, 1u);
  command(6100);
  EXPECT_EQ(marks(), std::string(menus, 'M'));
  // Chosen from the menu: Impossible, the checked Medium, Impossible again,
  // then the mode, which sets the marks again.
  for (const char* text : {impossible, medium, impossible, "Pro Mode (1 Explosion Ends Game)"}) {
    MenuItems(text)[0]->trigger();
    Pump();
    EXPECT_EQ(marks(), std::string(menus, 'M')) << text;
  }
  EXPECT_EQ(chosenLevel, 3);
  EXPECT_EQ(BoxCaptions(), std::vector<std::string>(3, "Notice:"));
  EXPECT_TRUE(MenuItems("Pro Mode (1 Explosion Ends Game)")[0]->isChecked());
  command(6100);
  EXPECT_EQ(marks(), std::string(menus, 'I')) << "the next game is Impossible";
}

// Runs a score dialog's checks, then closes it with Done.
void ExpectCentredWithFittingLabels(HWND dialog, std::vector<std::string>* captions) {
  char caption[160];
  GetWindowTextA(dialog, caption, sizeof caption);
  captions->push_back(caption);
  RECT r;
  GetWindowRect(dialog, &r);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - 480), 1) << caption;
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - 360), 1) << caption;
  EXPECT_EQ(TestLabelsThatDoNotFit(dialog), std::vector<std::string>()) << caption;
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(FieldCommands, TheHelpDialogOpensCentredOverTheGameWithItsWholeClientArea) {
  std::vector<std::string> captions;
  RECT client{};
  TestQueueDialogScript([&](HWND d) {
    GetClientRect(d, &client);
    ExpectCentredWithFittingLabels(d, &captions);
  });
  command(500);
  EXPECT_EQ(captions, std::vector<std::string>{"Hotfield Detectors:"});
  EXPECT_EQ(client.right * 10000 + client.bottom, 360 * 10000 + 380);
}

TEST_F(FieldCommands, ScoreDialogsOpenCentredAndTheirLabelsFit) {
  std::vector<std::string> captions;
  auto check = [&](HWND d) { ExpectCentredWithFittingLabels(d, &captions); };
  // A perfect game on an empty table: the longest labels, "New Best Perfect
  // Game Score:" and then "Best Perfect Game Score:".
  TestQueueDialogScript(check);
  TestQueueDialogScript(check);
  LayBoard(12, 8, {{11, 7}});
  ClickAt(0, 0);
  ASSERT_TRUE(IsFieldGameOver());
  // A faster perfect game: "Old Best Perfect Game Score:".
  FieldScores.bestTime[ScoreEntry(12, 8)] = 1000000;
  TestQueueDialogScript(check);
  TestQueueDialogScript(check);
  LayBoard(12, 8, {{11, 7}});
  ClickAt(0, 0);
  EXPECT_EQ(captions, (std::vector<std::string>{"Enter Your Name:", "High Score for Memium 12x8 Layout:",
                                                "Enter Your Name:", "High Score for Memium 12x8 Layout:"}));
}

}  // namespace
