// Pictures the player chooses: the open dialog's folder, the recent list,
// refused pictures and what stays.
#include <Magick++.h>

#include <filesystem>
#include <string>

#include "imaging/user_pictures.h"
#include "shell/options.h"
#include "shell/shell_state.h"
#include "support/game_fixture.h"

namespace {

class UserPictures : public GameFixture {
 protected:
  std::string Picture(const std::string& name, size_t width, uint32_t rgb) {
    std::filesystem::create_directories(folder_ + "pics");
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

TEST_F(UserPictures, RefusedPicturesKeepThePreviousOne) {
  const std::string widest = Picture("widest.bmp", kUserPictureMaxWidth, 0x00FF00);
  LoadUserImage(MainWindow, widest.c_str(), 1);
  ASSERT_EQ(PuzzlePicture.width, kUserPictureMaxWidth);

  const std::string cut = Picture("cut.bmp", 200, 0x808080);
  std::filesystem::resize_file(cut, 60);  // the header reads, the pixels are gone
  for (const std::string& path : {Picture("wider.bmp", kUserPictureMaxWidth + 1, 0xFF0000), cut,
                                  folder_ + std::string(300, 'x') + ".bmp"}) {
    TestMessageBoxes().clear();
    LoadUserImage(MainWindow, path.c_str(), 1);
    ASSERT_EQ(TestMessageBoxes().size(), 1u) << path;
    EXPECT_EQ(TestMessageBoxes()[0].caption, "Sorry:");
    EXPECT_EQ(PuzzlePicturePath, widest);
    EXPECT_EQ(BoardColour(), 0x00FF00u);
  }
}

}  // namespace
