// Spoken numbers and times from the recorded words, the sound switch, and
// the best score said at the start of a game.
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "sound/sounds.h"
#include "sound/speech.h"
#include "support/game_fixture.h"

namespace {

using Words = std::vector<std::string>;

// Every word is played to its end: the log marks that with "!".
Words Said(std::initializer_list<const char*> words) {
  Words out;
  for (const char* w : words) out.push_back(std::string(w) + "!");
  return out;
}

class SpeechTest : public GameFixture {
 protected:
  Words Number(int32_t v) {
    TestSoundsPlayed().clear();
    SayNumber(v);
    return TestSoundsPlayed();
  }
  Words Time(int32_t s) {
    TestSoundsPlayed().clear();
    SayTime(s);
    return TestSoundsPlayed();
  }
};

TEST_F(SpeechTest, NumbersAreSpokenFromTheirWords) {
  EXPECT_EQ(Number(0), Said({"n0"}));
  EXPECT_EQ(Number(7), Said({"n7"}));
  EXPECT_EQ(Number(13), Said({"n13"}));
  EXPECT_EQ(Number(19), Said({"n19"}));
  EXPECT_EQ(Number(20), Said({"n20"}));
  EXPECT_EQ(Number(45), Said({"n40", "n5"}));
  EXPECT_EQ(Number(99), Said({"n90", "n9"}));
  EXPECT_EQ(Number(100), Said({"n1", "n100"}));
  EXPECT_EQ(Number(110), Said({"n1", "n100", "n10"}));
  EXPECT_EQ(Number(305), Said({"n3", "n100", "n5"}));
  EXPECT_EQ(Number(999), Said({"n9", "n100", "n90", "n9"}));
  EXPECT_EQ(Number(1000), Said({"n1", "n1000"}));
  EXPECT_EQ(Number(1001), Said({"n1", "n1000", "n1"}));
  EXPECT_EQ(Number(12345), Said({"n12", "n1000", "n3", "n100", "n40", "n5"}));
  EXPECT_EQ(Number(200000), Said({"n2", "n100", "n1000"}));
  EXPECT_EQ(Number(1000000), Said({"n1", "million"}));
  EXPECT_EQ(Number(20000050), Said({"n20", "million", "n50"}));
  EXPECT_EQ(Number(123456789), Said({"n1", "n100", "n20", "n3", "million", "n4", "n100", "n50", "n6", "n1000",
                                     "n7", "n100", "n80", "n9"}));
  EXPECT_TRUE(Number(-5).empty());
  EXPECT_TRUE(Number(-2147483647 - 1).empty());
}

TEST_F(SpeechTest, TimesUseStrictLimits) {
  EXPECT_EQ(Time(3725), Said({"n1", "HOURS_WAV", "n2", "MINUTES_WAV", "n5", "SECONDS_WAV"}));
  EXPECT_EQ(Time(3600), Said({"n60", "MINUTES_WAV"}));
  EXPECT_EQ(Time(3601), Said({"n1", "HOURS_WAV", "n1", "SECONDS_WAV"}));
  EXPECT_EQ(Time(60), Said({"n60", "SECONDS_WAV"}));
  EXPECT_EQ(Time(61), Said({"n1", "MINUTES_WAV", "n1", "SECONDS_WAV"}));
  EXPECT_EQ(Time(59), Said({"n50", "n9", "SECONDS_WAV"}));
  EXPECT_EQ(Time(7200), Said({"n2", "HOURS_WAV"}));
  EXPECT_TRUE(Time(0).empty());
  // These calls speak whatever the sound flag says; their callers decide.
  soundFlag = 0;
  EXPECT_EQ(Number(3), Said({"n3"}));
}

TEST_F(SpeechTest, WordsAreLoadedWhenFirstNeeded) {
  FreeNumberWords();
  EXPECT_EQ(Number(123), Said({"n1", "n100", "n20", "n3"}));
  FreeNumberWords();
  EXPECT_EQ(Time(3725), Said({"n1", "HOURS_WAV", "n2", "MINUTES_WAV", "n5", "SECONDS_WAV"}));
}

TEST_F(SpeechTest, TheSoundSwitchAlwaysSaysWhichWayItWent) {
  ToggleSound();
  EXPECT_EQ(soundFlag, 0u);
  ToggleSound();
  EXPECT_EQ(soundFlag, 1u);
  EXPECT_EQ(Sounds(), (Words{"soundoff", "soundon"}));
}

// The best score of this size and picture, said before a new game.
class BestScoreTest : public GameFixture {
 protected:
  void SetBest(int boardSize, uint32_t moves, uint32_t won) {
    const int row = SizeRow(boardSize);
    const int slot = Board->statsSlot;  // the picture's slot, chosen when a game starts
    Stats.bestMoves[row][slot] = moves;
    Stats.gamesWon[row][slot] = won;
  }
};

TEST_F(BestScoreTest, ANewGameSaysTheBestScoreOnceThereIsOne) {
  // Nothing won yet: silent.
  NewGame();
  EXPECT_TRUE(Sounds().empty());

  SetBest(6, 45, 3);
  TestQueueMessageBoxAnswer(IDYES);
  command(104);
  EXPECT_EQ(Sounds(), Said({"best_score_wav", "n40", "n5", "good_luck_wav"}));
  EXPECT_EQ(Board->gameInProgress, 1);

  // A board-size command says the score of its own size.
  ClearRecords();
  SetBest(9, 120, 1);
  TestQueueMessageBoxAnswer(IDYES);
  command(5009);
  EXPECT_EQ(Sounds(), Said({"best_score_wav", "n1", "n100", "n20", "good_luck_wav"}));

  // The N key says it too.
  ClearRecords();
  key('N');
  EXPECT_EQ(Sounds(), Said({"best_score_wav", "n1", "n100", "n20", "good_luck_wav"}));
}

TEST_F(BestScoreTest, ANewGameIsSilentWithoutSoundOrStatistics) {
  soundFlag = 0;
  NewGame();
  SetBest(6, 45, 3);
  key('N');
  EXPECT_TRUE(Sounds().empty());

  soundFlag = 1;
  Board->statsOn = 0;
  command(104 /* asks: "Are You Sure?" */);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(TestMessageBoxes().size(), 1u);

  // A best count with no game won is no score.
  Board->statsOn = 1;
  SetBest(6, 45, 0);
  ClearRecords();
  key('N');
  EXPECT_TRUE(Sounds().empty());
  SetBest(6, 0, 2);
  key('N');
  EXPECT_TRUE(Sounds().empty());
}

}  // namespace
