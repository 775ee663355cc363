// Start-up overlap: a picture file and embedded pictures decoded on another
// thread while the program goes on with its start-up.
#include <algorithm>
#include <future>
#include <memory>
#include <string>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {
using PrefetchResult = std::unique_ptr<PrefetchedPicture>;

// An embedded picture decoded ahead, as LoadResourcePicture (its own depth)
// or LoadPictureBitmap (24 bits) would decode it.
struct PrefetchedBlock {
  const void* bytes = nullptr;
  DWORD byteCount = 0;
  bool as24 = false;
  bool started = false;
  std::shared_ptr<std::promise<PrefetchResult>> promise;
  std::future<PrefetchResult> result;
};

struct Prefetch {
  std::string path;
  std::future<PrefetchResult> result;
  std::vector<PrefetchedBlock> blocks;
};
Prefetch g_prefetch;

// What DecodePictureFile does with a file, from bytes already read (and
// trimmed in place: the thread owns them).
PrefetchResult DecodeReadFile(std::vector<unsigned char>& bytes, const std::string& path) {
  auto out = std::make_unique<PrefetchedPicture>();
  HeldBytes held = HoldFile(bytes);
  DecodeHeldAsShown(held, path.c_str(), out.get());
  return out;
}

PrefetchResult DecodeBlock(const void* bytes, DWORD byteCount, bool as24) {
  auto out = std::make_unique<PrefetchedPicture>();
  PictureInfo info;
  out->infoResult = ReadPictureInfoFromMemory(bytes, &info, byteCount);
  if (out->infoResult != PICTURE_SUCCESS) return out;
  PrepareRecord(&out->record, info.width, info.height, info.bitsPerPixel);
  out->decodeResult = as24 ? DecodeMemory24(bytes, &out->record, 24, byteCount)
                           : DecodeMemory(bytes, &out->record, 0, info.colorOrder, byteCount);
  return out;
}

}  // namespace

namespace {
// The prefetch's result; null when the other thread failed (out of memory,
// say), in which case the caller decodes the file itself.
PrefetchResult FinishPrefetch() {
  PrefetchResult done;
  try {
    if (g_prefetch.result.valid()) done = g_prefetch.result.get();
  } catch (...) {
    done.reset();
  }
  g_prefetch.path.clear();
  return done;
}

}  // namespace

void PrefetchMemory(const void* bytes, DWORD byteCount, bool as24) {
  if (bytes == nullptr || byteCount == 0) return;
  PrefetchedBlock block;
  block.bytes = bytes;
  block.byteCount = byteCount;
  block.as24 = as24;
  block.promise = std::make_shared<std::promise<PrefetchResult>>();
  block.result = block.promise->get_future();
  g_prefetch.blocks.push_back(std::move(block));
}

void PrefetchFile(LPCSTR path) {
  // The file is read here, on the caller's thread, through the same guarded
  // calls as every other read; only the decoding moves to the other thread.
  // A file that cannot be read is left to the decoding call to find so.
  FinishPrefetch();  // one file at a time
  auto bytes = std::make_shared<std::vector<unsigned char>>();
  if (path == nullptr || path[0] == 0 || ReadFileCapped(path, *bytes) != PICTURE_SUCCESS) bytes.reset();
  // One thread does it all: the file first, while little else holds memory
  // (its decoder needs the most), then the embedded pictures in the order
  // named.
  struct Job {
    const void* bytes;
    DWORD byteCount;
    bool as24;
    std::shared_ptr<std::promise<PrefetchResult>> promise;
  };
  auto jobs = std::make_shared<std::vector<Job>>();
  for (PrefetchedBlock& block : g_prefetch.blocks)
    if (!block.started) {
      block.started = true;
      jobs->push_back({block.bytes, block.byteCount, block.as24, block.promise});
    }
  if (jobs->empty() && !bytes) return;
  const std::string name = bytes ? std::string(path) : std::string();
  try {
    auto result = std::async(std::launch::async, [jobs, bytes, name] {
      // The file's result is handed over only when the thread ends, so a
      // failure there is kept until the embedded pictures are done.
      PrefetchResult file;
      std::exception_ptr failure;
      try {
        if (bytes) file = DecodeReadFile(*bytes, name);
      } catch (...) {
        failure = std::current_exception();
      }
      for (Job& job : *jobs) {
        try {
          job.promise->set_value(DecodeBlock(job.bytes, job.byteCount, job.as24));
        } catch (...) {
          job.promise->set_exception(std::current_exception());
        }
      }
      if (failure) std::rethrow_exception(failure);
      return file;
    });
    if (bytes) g_prefetch.path = name;
    g_prefetch.result = std::move(result);
  } catch (const std::system_error&) {
    // No thread to be had: everything is decoded when asked for.
    for (Job& job : *jobs) job.promise->set_value(nullptr);
  }
}

bool TakePrefetchedFile(LPCSTR path, PrefetchedPicture* result) {
  if (!g_prefetch.result.valid() || path == nullptr || result == nullptr || g_prefetch.path.empty() ||
      g_prefetch.path != path)
    return false;
  PrefetchResult done = FinishPrefetch();
  if (done == nullptr) return false;
  *result = std::move(*done);
  return true;
}

bool TakePrefetchedMemory(const void* bytes, DWORD byteCount, bool as24, PrefetchedPicture* result) {
  auto& blocks = g_prefetch.blocks;
  auto it = std::find_if(blocks.begin(), blocks.end(), [&](const PrefetchedBlock& b) {
    return b.bytes == bytes && b.byteCount == byteCount && b.as24 == as24;
  });
  if (it == blocks.end() || result == nullptr) return false;
  PrefetchResult done;
  try {
    if (it->started) done = it->result.get();
  } catch (...) {
    done.reset();
  }
  blocks.erase(it);
  if (done == nullptr) return false;
  *result = std::move(*done);
  return true;
}

void DropPrefetchedFile() {
  FinishPrefetch();
  g_prefetch.blocks.clear();  // the thread is done with them
}
