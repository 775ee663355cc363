// Wave playback on SDL audio: one sound at a time, from a RIFF image in
// memory.  Without an audio device every call is silent and harmless; a
// device lost with its sound server is opened again (audio_output.h).
//
// SDL is loaded when the first sound plays, not when the program starts: it
// brings some forty libraries with it (sound servers, codecs), and loading
// them before the title would only delay the title.  Without the library the
// game is silent.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/audio_output.h"
#include "platform/internal.h"
#include "platform/testing.h"

namespace {
// The SDL calls the game makes, looked up in the library once it is loaded.
struct SdlCalls {
#define SDL_CALL(name) decltype(&::name) name = nullptr;
#define SDL_CALLS                                                                                        \
  SDL_CALL(SDL_SetHint) SDL_CALL(SDL_SetHintWithPriority) SDL_CALL(SDL_GetCurrentAudioDriver)          \
  SDL_CALL(SDL_InitSubSystem) SDL_CALL(SDL_QuitSubSystem) SDL_CALL(SDL_OpenAudioDevice) \
  SDL_CALL(SDL_CloseAudioDevice) SDL_CALL(SDL_GetAudioDeviceStatus) SDL_CALL(SDL_PauseAudioDevice)        \
  SDL_CALL(SDL_LoadWAV_RW) SDL_CALL(SDL_RWFromConstMem) SDL_CALL(SDL_BuildAudioCVT)                      \
  SDL_CALL(SDL_ConvertAudio) SDL_CALL(SDL_FreeWAV) SDL_CALL(SDL_ClearQueuedAudio) SDL_CALL(SDL_QueueAudio) \
  SDL_CALL(SDL_GetQueuedAudioSize)
  SDL_CALLS
#undef SDL_CALL
};
SdlCalls sdl;

bool LoadSdl() {
  static int loaded = -1;
  if (loaded >= 0) return loaded == 1;
  loaded = 0;
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) return false;
  bool whole = true;
#define SDL_CALL(name) whole = whole && (sdl.name = reinterpret_cast<decltype(sdl.name)>(dlsym(library, #name)));
  SDL_CALLS
#undef SDL_CALL
  loaded = whole ? 1 : 0;
  return whole;
}

// ALSA writes its complaints to stderr, eight lines of them on a machine
// without a sound card.  The game is silent there and says nothing: ALSA's
// error handler is swapped for a quiet one before SDL tries it.  The library
// stays loaded, so SDL's own loading of it keeps the handler.
void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}
void QuietAlsa() {
  static bool done = false;
  if (done) return;
  done = true;
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"))) set(IgnoreAlsa);
}

SDL_AudioDeviceID g_device = 0;
SDL_AudioSpec g_have{};
std::vector<std::string> g_played;
std::map<const void*, std::vector<Uint8>> g_converted;

class SdlDevice : public plat::AudioDevice {
 public:
  bool Open() override {
    if (!LoadSdl()) return false;
    // The program ends on the desktop's signals itself; SDL would turn them
    // into events nobody reads.
    sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Once a driver has played, it is the one opened again: while a sound
    // server restarts, another driver might take the sound card from under it.
    if (!driver_.empty()) sdl.SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver_.c_str(), SDL_HINT_OVERRIDE);
    QuietAlsa();
    int failed = sdl.SDL_InitSubSystem(SDL_INIT_AUDIO);
    plat::InstallSignalHandlers();
    if (failed != 0) return false;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    // No changes allowed: SDL converts to the device itself, so the sounds
    // converted once stay right for every device opened later.
    g_device = sdl.SDL_OpenAudioDevice(nullptr, 0, &want, &g_have, 0);
    if (!g_device) {
      sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    sdl.SDL_PauseAudioDevice(g_device, 0);
    if (driver_.empty())
      if (const char* name = sdl.SDL_GetCurrentAudioDriver()) driver_ = name;
    return true;
  }
  void Close() override {
    sdl.SDL_CloseAudioDevice(g_device);
    g_device = 0;
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  bool Lost() override { return sdl.SDL_GetAudioDeviceStatus(g_device) == SDL_AUDIO_STOPPED; }
  bool Replace(const void* samples, unsigned bytes) override {
    sdl.SDL_ClearQueuedAudio(g_device);
    return bytes == 0 || sdl.SDL_QueueAudio(g_device, samples, bytes) == 0;
  }
  unsigned Queued() override { return sdl.SDL_GetQueuedAudioSize(g_device); }

 private:
  std::string driver_;
};
SdlDevice g_sdlDevice;
plat::AudioOutput g_output(&g_sdlDevice);

// The byte size of a RIFF image: its header says how long it is.
Uint32 RiffSize(const Uint8* p) {
  if (memcmp(p, "RIFF", 4) != 0 || memcmp(p + 8, "WAVE", 4) != 0) return 0;
  Uint32 n = p[4] | (p[5] << 8) | (p[6] << 16) | ((Uint32)p[7] << 24);
  if (n > (64u << 20)) return 0;
  return n + 8;
}

const std::vector<Uint8>* Converted(const void* data) {
  auto it = g_converted.find(data);
  if (it != g_converted.end()) return &it->second;
  const Uint8* p = static_cast<const Uint8*>(data);
  Uint32 size = plat::ResourceSizeOf(data);
  if (!size) size = RiffSize(p);
  std::vector<Uint8>& out = g_converted[data];
  if (size < 12) return &out;
  SDL_AudioSpec spec;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!sdl.SDL_LoadWAV_RW(sdl.SDL_RWFromConstMem(p, (int)size), 1, &spec, &buf, &len)) return &out;
  SDL_AudioCVT cvt;
  if (sdl.SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, g_have.format, g_have.channels,
                        g_have.freq) >= 0) {
    cvt.len = (int)len;
    std::vector<Uint8> work((size_t)len * (cvt.len_mult > 0 ? cvt.len_mult : 1));
    memcpy(work.data(), buf, len);
    cvt.buf = work.data();
    if (cvt.needed == 0 || sdl.SDL_ConvertAudio(&cvt) == 0) {
      // The conversion needs room for its largest step; the sound is kept
      // at its final size.
      work.resize(cvt.needed ? (size_t)cvt.len_cvt : len);
      work.shrink_to_fit();
      out.swap(work);
    }
  }
  sdl.SDL_FreeWAV(buf);
  return &out;
}
}  // namespace

BOOL sndPlaySoundA(LPCSTR sound, UINT flags) {
  bool sync = !(flags & SND_ASYNC);
  if (plat::g_test) {
    if (sound) {
      std::string name = plat::ResourceNameOf(sound);
      g_played.push_back((name.empty() ? std::string("?") : name) + (sync ? "!" : ""));
    }
    return TRUE;
  }
  const DWORD now = GetTickCount();
  if (!g_output.Ready(now)) return sound != nullptr;
  // A new sound, or none, stops the one playing.
  const std::vector<Uint8>* pcm = sound && (flags & SND_MEMORY) ? Converted(sound) : nullptr;
  if (!pcm || pcm->empty()) {
    g_output.Play(nullptr, 0, now);
    return !sound;  // only sounds from memory are played
  }
  if (!g_output.Play(pcm->data(), (unsigned)pcm->size(), now)) return TRUE;
  if (sync) {
    // Played to its end: the screen stays current, input waits.
    // Sleep for as long as the queued samples last, then for the device's
    // own buffer, which is still playing when the queue runs dry.  A device
    // lost meanwhile plays nothing more: the wait ends with it.
    const int freq = g_have.freq > 0 ? g_have.freq : 22050;
    const Uint32 bytesPerSecond = (Uint32)freq * g_have.channels * (SDL_AUDIO_BITSIZE(g_have.format) / 8);
    while (g_output.Playing())
      WaitMilliseconds(std::max<DWORD>(
          1, (DWORD)((uint64_t)g_sdlDevice.Queued() * 1000 / std::max<Uint32>(bytesPerSecond, 1))));
    if (!g_sdlDevice.Lost()) WaitMilliseconds((DWORD)(1000 * g_have.samples / freq));
  }
  return TRUE;
}

std::vector<std::string>& TestSoundsPlayed() { return g_played; }
