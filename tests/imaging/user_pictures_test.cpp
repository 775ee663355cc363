// Pictures the player chooses: the open dialog's folder, the recent list,
// wide pictures reduced, refused pictures and what stays.
#include <Magick++.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/picture_library.h"
#include "imaging/user_pictures.h"
#include "support/game_fixture.h"

namespace {

class UserPictures : public GameFixture {
 protected:
  std::string Picture(const std::string& name, size_t width, uint32_t rgb) {
    std::filesystem::create_directories(std::filesystem::path(folder_ + "pics/" + name).parent_path());
    std::vector<uint32_t> pixels(width * 40, rgb);
    Magick::Image(width, 40, "BGRP", Magick::CharPixel, pixels.data()).write(folder_ + "pics/" + name);
    return folder_ + "pics/" + name;
  }
  uint32_t BoardColour() {
    int w = 0, h = 0;
    std::vector<uint32_t> image = BitmapImage(PuzzleBitmap, &w, &h);
    return image.empty() ? 0 : image[(size_t)(h / 2) * w + w / 2];
  }
  std::string Recent(int i) { return RecentEntry(kUserPictureList, i); }
};

// Whether some menu on the screen shows this text as an item.
bool MenuShows(const std::string& utf8) {
  for (QWidget* w : QApplication::allWidgets())
    if (auto* menu = qobject_cast<QMenu*>(w))
      for (QAction* a : menu->actions())
        if (a->text() == QString::fromUtf8(utf8.c_str())) return true;
  return false;
}

// Every box shown says the path is too long, with the usual title.
void ExpectTooLongBoxes(size_t count) {
  ASSERT_EQ(TestMessageBoxes().size(), count);
  for (const TestMessageBox& box : TestMessageBoxes()) {
    EXPECT_EQ(box.caption, "Sorry:");
    EXPECT_NE(box.text.find("too long"), std::string::npos) << box.text;
  }
}

TEST_F(UserPictures, OpenedPicturesBecomeThePuzzleAndHeadTheList) {
  ResetUserPictureFolder();  // as in a new run
  TestFileDialogs().clear();
  const std::string red = Picture("red.bmp", 64, 0xFF0000), blue = Picture("blue.bmp", 64, 0x0000FF);
  TestQueueFileDialogAnswer(red);
  command(200);
  TestQueueFileDialogAnswer(blue);
  command(200);
  ASSERT_EQ(TestFileDialogs().size(), 2u);
  EXPECT_EQ(TestFileDialogs()[0].initialDir, folder_ + "tilesets");
  EXPECT_EQ(TestFileDialogs()[1].initialDir, folder_ + "pics");
  EXPECT_EQ(BoardColour(), 0x0000FFu);
  EXPECT_EQ(Recent(0) + Recent(1), blue + red);

  command(8004);  // a built-in picture stays off the list
  EXPECT_EQ(PuzzlePicturePath, folder_ + "fire_eng.bkg");
  EXPECT_EQ(Recent(0) + Recent(1) + Recent(2), blue + red);
  EXPECT_TRUE(TestMessageBoxes().empty());
}

// A camera's photo: the left half red, the right half blue, written by the
// toolkit as a camera would (baseline JPEG) or as a PNG.
std::string Photo(const std::string& path, int width, int height, const char* format = "JPG") {
  QImage photo(width, height, QImage::Format_RGB32);
  photo.fill(QColor(0, 0, 255));
  QPainter(&photo).fillRect(0, 0, width / 2, height, QColor(255, 0, 0));
  EXPECT_TRUE(photo.save(QString::fromStdString(path), format, 90));
  return path;
}

TEST_F(UserPictures, WidePicturesBecomeThePuzzleReducedToTheWidestKept) {
  struct Case {
    const char* name;
    int width, height, keptHeight;
    const char* format;
  } cases[] = {{"camera 3-2.jpg", 6000, 4000, 1365, "JPG"},
               {"camera 4-3.jpg", 4000, 3000, 1536, "JPG"},
               {"just wider.png", kUserPictureMaxWidth + 1, 100, 100, "PNG"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Photo(folder_ + c.name, c.width, c.height, c.format);
    TestQueueFileDialogAnswer(path);
    command(200);  // Open Image File
    EXPECT_TRUE(TestMessageBoxes().empty());
    EXPECT_EQ(PuzzlePicturePath, path);
    EXPECT_EQ(Recent(0), path);
    TakeBackPuzzlePicture();
    ASSERT_EQ(PuzzlePicture.width, kUserPictureMaxWidth);
    EXPECT_EQ(PuzzlePicture.height, c.keptHeight);
    const uint32_t* row = PuzzlePicture.pixels.words.data() + (size_t)PuzzlePicture.width * (c.keptHeight / 2);
    EXPECT_EQ(row[100] & 0xF0F0F0, 0xF00000u) << std::hex << row[100];
    EXPECT_EQ(row[kUserPictureMaxWidth - 100] & 0xF0F0F0, 0x0000F0u) << std::hex << row[kUserPictureMaxWidth - 100];
    RemakePuzzleBitmap(MainWindow);
  }
  // Saved as it is kept.
  const std::string saved = folder_ + "saved.bmp";
  TestQueueFileDialogAnswer(saved, 3);
  command(119);
  PictureInfo info;
  ASSERT_EQ(ReadPictureInfo(saved.c_str(), &info), PICTURE_SUCCESS);
  EXPECT_EQ(info.width, kUserPictureMaxWidth);
  EXPECT_EQ(info.height, 100);
}

TEST_F(UserPictures, RefusedPicturesKeepThePreviousOne) {
  const std::string widest = Picture("widest.bmp", kUserPictureMaxWidth, 0x00FF00);
  LoadUserImage(MainWindow, widest.c_str(), 1);
  ASSERT_EQ(PuzzlePicture.width, kUserPictureMaxWidth);

  const std::string cut = Picture("cut.bmp", 200, 0x808080);
  std::filesystem::resize_file(cut, 60);  // the header reads, the pixels are gone
  // A header claiming a picture far beyond what is read, even reduced.
  std::string huge(54 + 16, '\0');
  const unsigned char header[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                  0x60, 0xEA, 0, 0, 0x60, 0xEA, 0, 0, 1, 0, 24, 0};
  huge.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  const std::string lying = folder_ + "lying.bmp";
  std::ofstream(lying, std::ios::binary) << huge;
  for (const std::string& path : {lying, cut, folder_ + std::string(300, 'x') + ".bmp"}) {
    TestMessageBoxes().clear();
    LoadUserImage(MainWindow, path.c_str(), 1);
    ASSERT_EQ(TestMessageBoxes().size(), 1u) << path;
    EXPECT_EQ(TestMessageBoxes()[0].caption, "Sorry:");
    EXPECT_EQ(PuzzlePicturePath, widest);
    EXPECT_EQ(BoardColour(), 0x00FF00u);
  }
}

TEST_F(UserPictures, NamesInAnyScriptAreTheFileSystemsOwnBytesThroughTheRealDialog) {
  const std::string trees = Picture("Bäume/Bäume.bmp", 64, 0xFF0000), city = Picture("東京.bmp", 64, 0x0000FF);
  TestQueueFileDialogTyped(trees);
  command(200);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_EQ(PuzzlePicturePath, trees);
  EXPECT_EQ(BoardColour(), 0xFF0000u);
  TestQueueFileDialogTyped(city);
  command(200);
  EXPECT_EQ(TestFileDialogs().back().shownDirectory, folder_ + "pics/Bäume") << "the folder of the last choice";
  EXPECT_EQ(BoardColour(), 0x0000FFu);
  EXPECT_EQ(Recent(0) + Recent(1), city + trees);
  EXPECT_TRUE(MenuShows(trees)) << "the recent list is shown as its names read";

  // Saved under the name typed, and remembered under it.
  const std::string copy = folder_ + "pics/Bäume/東京 Kopie.bmp";
  TestQueueFileDialogTyped(copy);
  command(119);
  EXPECT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(BackgroundPath, copy);
  EXPECT_TRUE(TestMessageBoxes().empty());
}

TEST_F(UserPictures, PathsTooLongForTheGameAreRefusedWithAWordAndTheDialogAsksAgain) {
  // Paths of 255, 256 and 257 bytes, the longest one the game can keep and
  // two that it cannot.
  const std::string kept = Picture("kept.bmp", 64, 0x00FF00);
  LoadUserImage(MainWindow, kept.c_str(), 1);
  std::string paths[3];
  for (size_t length : {255, 256, 257}) {
    const std::string name = std::string(length - (folder_ + "pics/").size() - 4, 'p') + ".bmp";
    paths[length - 255] = Picture(name, 64, 0xFF0000);
    ASSERT_EQ(paths[length - 255].size(), length);
  }
  TestMessageBoxes().clear();
  TestQueueFileDialogTyped(paths[1]);
  TestQueueFileDialogTyped(paths[2]);
  command(200);  // and cancelled the third time
  ExpectTooLongBoxes(2);
  EXPECT_EQ(PuzzlePicturePath, kept);
  EXPECT_EQ(BoardColour(), 0x00FF00u);
  EXPECT_EQ(Recent(0) + Recent(1), kept);

  TestMessageBoxes().clear();
  TestQueueFileDialogTyped(paths[2]);
  TestQueueFileDialogTyped(paths[0]);
  command(200);
  ExpectTooLongBoxes(1);
  EXPECT_EQ(PuzzlePicturePath, paths[0]);
  EXPECT_EQ(BoardColour(), 0xFF0000u);
}

}  // namespace
