// The audio device is opened again when its sound server went away or it
// refused the samples, and a machine without one is asked again only now and
// then.
#include <gtest/gtest.h>

#include "platform/audio_output.h"

namespace {
struct FakeDevice : plat::AudioDevice {
  bool present = true;  // a device is there to be opened
  bool lost = false;
  bool refuses = false;  // takes no samples (its server just went away)
  int opens = 0, closes = 0, played = 0;
  unsigned queued = 0;
  bool Open() override {
    ++opens;
    lost = refuses = false;
    return present;
  }
  void Close() override { ++closes; }
  bool Lost() override { return lost; }
  bool Replace(const void*, unsigned bytes) override {
    if (refuses) return false;
    queued = bytes;
    played += bytes > 0;
    return true;
  }
  unsigned Queued() override { return queued; }
};
const char kSamples[64] = {};
constexpr DWORD kRetry = plat::AudioOutput::kRetryMilliseconds;
}  // namespace

TEST(AudioOutput, ReopensALostOrRefusingDeviceAndEndsWaitsOnALostOne) {
  FakeDevice device;
  plat::AudioOutput out(&device);
  EXPECT_TRUE(out.Play(kSamples, 64, 0));
  EXPECT_TRUE(out.Play(kSamples, 64, 10));
  EXPECT_EQ(device.opens, 1) << "an open device is kept";
  EXPECT_TRUE(out.Playing());

  device.lost = true;  // the sound server stopped
  EXPECT_FALSE(out.Playing()) << "a wait for the sound's end ends with the device";
  EXPECT_TRUE(out.Play(kSamples, 64, 20));
  EXPECT_EQ(device.opens, 2);
  EXPECT_EQ(device.closes, 1);

  device.refuses = true;  // gone between the check and the samples
  EXPECT_TRUE(out.Play(kSamples, 64, 30));
  EXPECT_EQ(device.opens, 3);
  EXPECT_EQ(device.closes, 2);
  EXPECT_EQ(device.played, 4) << "every sound was played once";
}

TEST(AudioOutput, WithoutADeviceAsksAgainOnlyAfterAWhile) {
  FakeDevice device;
  device.present = false;
  plat::AudioOutput out(&device);
  const DWORD start = 0xFFFFF000;  // the tick count wraps meanwhile
  EXPECT_FALSE(out.Play(kSamples, 64, start));
  EXPECT_FALSE(out.Play(kSamples, 64, start + kRetry - 1));
  EXPECT_FALSE(out.Playing());
  EXPECT_EQ(device.opens, 1);
  EXPECT_EQ(device.closes, 0) << "nothing opened, nothing to close";
  EXPECT_FALSE(out.Play(kSamples, 64, start + kRetry));
  EXPECT_EQ(device.opens, 2);

  device.present = true;  // a sound server started
  EXPECT_FALSE(out.Play(kSamples, 64, start + kRetry + 5));
  EXPECT_TRUE(out.Play(kSamples, 64, start + 2 * kRetry));
  EXPECT_EQ(device.opens, 3);
  EXPECT_EQ(device.played, 1);
}
