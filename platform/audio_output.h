// The audio device behind the game's sounds, kept open across the sound
// server's restarts: a device that was lost, or that refuses the samples, is
// closed and opened again at the next sound.  A machine without any device
// stays silent, and asks again only now and then, not at every sound.
//
// The device itself (SDL in sound.cpp, a stand-in in tests) is behind
// AudioDevice; AudioOutput only decides when to open, close and reopen it.
#pragma once

#include "platform/win32.h"

namespace plat {

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Starts the sound driver and opens its device; false when there is none.
  virtual bool Open() = 0;
  // Closes the device and stops the driver, so that the next Open starts
  // afresh (a new connection to a restarted sound server).
  virtual void Close() = 0;
  // The device stopped for good: its sound server went away.
  virtual bool Lost() = 0;
  // Drops what is still to be played, then queues `bytes` of samples in the
  // device's own format (none: only silence); false when it refuses them.
  virtual bool Replace(const void* samples, unsigned bytes) = 0;
  // Bytes queued and not yet played.
  virtual unsigned Queued() = 0;
};

class AudioOutput {
 public:
  // After a failed open, the next try waits this long (GetTickCount time).
  static constexpr DWORD kRetryMilliseconds = 3000;

  explicit AudioOutput(AudioDevice* device) : device_(device) {}
  // Opens the device, or opens it again when it was lost; false while there
  // is none.
  bool Ready(DWORD now);
  // Cuts off what plays and plays these samples (none: only stops); a device
  // that refuses them is opened again and given them once more.
  bool Play(const void* samples, unsigned bytes, DWORD now);
  // Samples are still playing on a live device.
  bool Playing();

 private:
  void Drop();
  AudioDevice* device_;
  bool open_ = false;
  bool failed_ = false;  // the last open failed, at failedAt_
  DWORD failedAt_ = 0;
};

}  // namespace plat
