// Saving pictures: the eleven types, the type kept for the run, the name used
// as typed, failed saves.
#include <Magick++.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/save_picture.h"
#include "imaging/user_pictures.h"
#include "support/game_fixture.h"

namespace {

std::string Coder(const std::string& path) {
  Magick::Image image;
  image.ping(path);
  return image.magick();
}

using SavePicture = GameFixture;

TEST_F(SavePicture, EachTypeWritesItsOwnFormat) {
  // The picture shown at the screen's size lends its pixels to its bitmap;
  // a save takes them back first, as the menu command does.
  EXPECT_FALSE(PuzzlePicture.flags & PICTURE_HAS_DATA);
  TakeBackPuzzlePicture();
  const char* coders[] = {"WEBP", "PCX", "BMP3", "JPEG", "JPEG", "TIFF", "TIFF", "GIF", "TGA", "BMP2", "PICT"};
  for (int type = 1; type <= kSavePictureTypes; ++type) {
    const std::string path = folder_ + "picture" + std::to_string(type) + ".tga";
    ASSERT_EQ(SavePictureByType(path.c_str(), &PuzzlePicture, type), PICTURE_SUCCESS) << type;
    EXPECT_EQ(Coder(path), coders[type - 1]) << type;
  }
  Magick::Image lzw;
  lzw.ping(folder_ + "picture6.tga");
  EXPECT_EQ(lzw.compressType(), Magick::LZWCompression);
}

TEST_F(SavePicture, TheNameIsUsedAsTypedTheTypeIsKeptAndFailuresSaySo) {
  ResetSavePictureType();  // as in a new run
  TestFileDialogs().clear();
  const std::string path = folder_ + "fire engine";
  TestQueueFileDialogAnswer(path, 6);
  command(119);
  EXPECT_EQ(TestFileDialogs()[0].filterIndex, 1u);
  EXPECT_STREQ(BackgroundPath, path.c_str());
  EXPECT_EQ(Coder(path), "TIFF");  // no extension added

  // The disk fills up: the old file stays, the player is told.
  strcpy(BackgroundPath, "before");
  TestFailWritesAfter(100);
  TestQueueFileDialogAnswer(path, 4);
  command(119);
  TestFailWritesAfter(-1);
  EXPECT_EQ(TestFileDialogs()[1].filterIndex, 6u);
  EXPECT_EQ(Coder(path), "TIFF");
  EXPECT_STREQ(BackgroundPath, "before");
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Sorry:");
}

TEST_F(SavePicture, TheTypeListShowsEachDescriptionAsWrittenAndKeepsItsRow) {
  ResetSavePictureType();
  TestFileDialogs().clear();
  TestQueueFileDialogAnswer(folder_ + "first", 5);
  command(119);
  const std::string path = folder_ + "second";
  TestQueueFileDialogTyped(path);  // the real dialog, opened on the type kept
  command(119);
  ASSERT_EQ(TestFileDialogs().size(), 2u);
  std::vector<std::string> descriptions;  // every other field of "desc|pattern|..."
  std::stringstream fields(TestFileDialogs()[1].filter);
  for (std::string field, pattern; std::getline(fields, field, '|') && std::getline(fields, pattern, '|');)
    descriptions.push_back(field);
  ASSERT_EQ(descriptions.size(), (size_t)kSavePictureTypes);
  EXPECT_EQ(descriptions[4], "JTIF (jpg variant)");
  EXPECT_EQ(TestFileDialogs()[1].typesShown, descriptions);
  EXPECT_EQ(SavePictureTypeIndex(), 5);
  EXPECT_EQ(Coder(path), "JPEG");
}

TEST_F(SavePicture, ANameInAFolderThatDoesNotExistIsRefused) {
  strcpy(BackgroundPath, "before");
  TestQueueFileDialogAnswer(folder_ + "no such folder/picture.bmp", 3);
  command(119);
  EXPECT_FALSE(std::ifstream(folder_ + "no such folder/picture.bmp").good());
  EXPECT_STREQ(BackgroundPath, "before");
  EXPECT_TRUE(TestMessageBoxes().empty()) << "refused by the dialog: nothing was tried, nothing failed";
  EXPECT_EQ(SavePictureTypeIndex(), 1) << "as a cancelled dialog";
}

}  // namespace
