// When the game's audio device is opened, closed and opened again.
#include "platform/audio_output.h"

namespace plat {

void AudioOutput::Drop() {
  if (open_) device_->Close();
  open_ = false;
}

bool AudioOutput::Ready(DWORD now) {
  // A lost device is tried again at once: the server is usually back.
  if (open_ && device_->Lost()) {
    Drop();
    failed_ = false;
  }
  if (open_) return true;
  if (failed_ && (DWORD)(now - failedAt_) < kRetryMilliseconds) return false;
  open_ = device_->Open();
  failed_ = !open_;
  failedAt_ = now;
  return open_;
}

bool AudioOutput::Play(const void* samples, unsigned bytes, DWORD now) {
  if (!Ready(now)) return false;
  if (device_->Replace(samples, bytes)) return true;
  Drop();
  failed_ = false;
  return Ready(now) && device_->Replace(samples, bytes);
}

bool AudioOutput::Playing() { return open_ && !device_->Lost() && device_->Queued() > 0; }

}  // namespace plat
