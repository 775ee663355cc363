// The imaging library: decoding and encoding picture files and the embedded
// pictures, colour-depth conversion, palettes, painting a picture into a
// device context and capturing one from it.  Everything the game does with
// picture bytes goes through these calls; the work underneath is ImageMagick.
//
// Every picture is treated as untrusted input: files are read with a size cap,
// inspected without decoding first, accepted only when their content is one of
// the raster formats the game offers, and decoded under resource limits.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

// Results of the calls below.  1 means success; every failure is negative.
#define PICTURE_SUCCESS 1
#define PICTURE_FAILURE (-1)          // decoder or encoder failed
#define PICTURE_FILE_ERROR (-2)       // the file could not be opened, read or written
#define PICTURE_NOT_A_PICTURE (-3)    // unknown, refused or damaged content
#define PICTURE_TOO_LARGE (-4)        // beyond the size limits below
#define PICTURE_BAD_ARGUMENT (-5)     // null pointer, unknown format code, empty record

// Flags word of a PictureRecord.
#define PICTURE_HAS_DATA 0x0001u       // the record holds decoded pixels
#define PICTURE_PAINT_PALETTE 0x0400u  // paint through the shared palette (8-bit screens)
#define PICTURE_PAINT_CONVERT 0x0800u  // painting converts to the screen's depth
#define PICTURE_PAINT_STRETCH 0x1000u  // painting stretches to the target rectangle
#define PICTURE_IN_BITMAP 0x2000u      // the pixels are held by a bitmap (ParkInBitmap)

// Colour order of decoded data.  Our storage is always 0x00RRGGBB words, that
// is blue, green, red bytes in memory; the field is kept for the callers that
// pass it through.
#define PICTURE_ORDER_RGB 0
#define PICTURE_ORDER_BGR 1

// Format codes of EncodeFile.
#define PICTURE_FORMAT_PCX 1
#define PICTURE_FORMAT_GIF 2
#define PICTURE_FORMAT_TIFF 3
#define PICTURE_FORMAT_TGA 4
#define PICTURE_FORMAT_BMP 6
#define PICTURE_FORMAT_JPEG 10
#define PICTURE_FORMAT_JPEG_PROGRESSIVE 11
#define PICTURE_FORMAT_OS2_BMP 14
#define PICTURE_FORMAT_TIFF_LZW 17
#define PICTURE_FORMAT_COMPACT 20  // "very small, slow": lossy WebP
#define PICTURE_FORMAT_PICT 56

// Limits on what is accepted; they keep a hostile file from taking the
// machine's time and memory.  kPictureMaxPixels bounds every picture as it is
// decoded.  A JPEG read reduced (DecodeFileReduced) is decoded at a fraction
// of its size by the decoder itself, so one may claim up to
// kPictureMaxReducedPixels (a camera's photo), as long as it is not
// progressive: a progressive JPEG is held whole by its decoder whatever the
// size it is decoded at.
constexpr long kPictureMaxFileBytes = 64L * 1024 * 1024;
constexpr long kPictureMaxSide = 16384;
constexpr long long kPictureMaxPixels = 16LL * 1024 * 1024;
constexpr long long kPictureMaxReducedPixels = 4 * kPictureMaxPixels;

// The widest picture the game keeps: the file pictures it shows are decoded
// at most this wide (DecodePictureFile), which bounds the memory they hold.
constexpr long kPictureWidestKept = 2048;

// The pixel block of a PictureRecord: width x height words of 0x00RRGGBB, top
// row first.  It cannot be copied, so that two records never think they own
// the same picture; it can be moved.
struct PicturePixels {
  std::vector<uint32_t> words;
  PicturePixels() = default;
  PicturePixels(const PicturePixels&) = delete;
  PicturePixels& operator=(const PicturePixels&) = delete;
  PicturePixels(PicturePixels&&) = default;
  PicturePixels& operator=(PicturePixels&&) = default;
};

// A picture as the library holds it.  The caller owns the record; its pixel
// block is freed by ReleaseRecord (or when the record itself goes away).  A
// zero-initialised record is empty.
struct PictureRecord {
  LONG width = 0;
  LONG height = 0;
  LONG bitsPerPixel = 0;  // depth the picture has for the game: 1, 4, 8, 16, 24 or 32
  LONG stretchSourceX = 0;  // zeroed before a stretched paint; not used here
  LONG stretchSourceY = 0;
  DWORD flags = 0;          // PICTURE_HAS_DATA, PICTURE_PAINT_*
  HPALETTE palette = 0;     // paint palette on palette screens; 0 on true colour
  RECT view = {0, 0, 0, 0}; // display rectangle the record was last laid out for
  LONG colorOrder = 0;
  LONG paintReserved = 0;   // zeroed before painting; not used here
  PicturePixels pixels;     // width x height words once PICTURE_HAS_DATA is set
};

// What a picture file says about itself, read without decoding it.
struct PictureInfo {
  LONG width = 0;
  LONG height = 0;
  LONG bitsPerPixel = 0;
  LONG colorOrder = 0;
};

// Sets up ImageMagick with the limits and the coder policy above.  Every call
// below does this itself the first time; it is public for code that wants to
// use Magick++ directly before any picture has been read.
void PictureLibraryStartUp();

// Reads the size and depth of a picture file without decoding its pixels.
// Returns 1 when the file is a picture the game reads (at its own size, or
// reduced for a large JPEG), else negative.
int ReadPictureInfo(LPCSTR path, PictureInfo* info);
// The same for a picture held in memory.
int ReadPictureInfoFromMemory(const void* bytes, PictureInfo* info, DWORD byteCount);

// Start-up overlap: reads a picture file now and decodes it on another
// thread while the caller goes on with other work.  TakePrefetchedFile then
// waits for that decode and hands over what DecodePictureFile would have
// made of the file, as DecodeFileAsShown makes it.  It answers false
// for any other path, and leaves the prefetch for its own file, until
// DropPrefetchedFile.  One prefetch at a time.
struct PrefetchedPicture {
  int infoResult = PICTURE_FAILURE;
  int decodeResult = PICTURE_FAILURE;
  PictureRecord record;
};
// DecodePictureFile's work, the file read once: its information and, when
// that reads, its pixels decoded at most kPictureWidestKept wide at the
// picture's own depth (DecodeFileReduced).
void DecodeFileAsShown(LPCSTR path, PrefetchedPicture* result);
void PrefetchFile(LPCSTR path);
bool TakePrefetchedFile(LPCSTR path, PrefetchedPicture* result);
// Embedded pictures can come along: blocks named before PrefetchFile are
// decoded by its thread after the file, in the order named, as DecodeMemory with the
// picture's own depth (or DecodeMemory24, `as24`) would after reading its
// header.  TakePrefetchedMemory hands over the result for the same block.
void PrefetchMemory(const void* bytes, DWORD byteCount, bool as24);
bool TakePrefetchedMemory(const void* bytes, DWORD byteCount, bool as24, PrefetchedPicture* result);
// Waits for the thread and forgets everything it decoded that was not taken.
void DropPrefetchedFile();

// Makes `record` an empty record of the given shape, freeing any data it held.
int PrepareRecord(PictureRecord* record, int width, int height, int bitsPerPixel);

// Decodes the first frame of a picture file or memory block into `record`.
// `bitsPerPixel` 0 keeps the picture's own depth; 8 or less reduces it to that
// many colours.  On failure the record is left empty (no data).
int DecodeFile(LPCSTR path, PictureRecord* record, int bitsPerPixel, int colorOrder);
int DecodeMemory(const void* bytes, PictureRecord* record, int bitsPerPixel, int colorOrder,
                 DWORD byteCount);
int DecodeMemory24(const void* bytes, PictureRecord* record, int bitsPerPixel, DWORD byteCount);
// DecodeFile for a picture that is to be at most `maxWidth` pixels wide: a
// wider one comes out exactly that wide, its height in proportion, each pixel
// the average of the part of the picture it covers.  A JPEG is decoded at a
// reduced size by its decoder first, and no picture is ever held at its full
// size: the rows are averaged as they are decoded.  The information read
// from the file (ReadPictureInfo) still gives its own size.
int DecodeFileReduced(LPCSTR path, PictureRecord* record, int bitsPerPixel, int colorOrder, LONG maxWidth);

// Frees the record's pixels and clears PICTURE_HAS_DATA.
int ReleaseRecord(PictureRecord* record);

// Converts the record to another depth, in place.  To 8 bits or less, option 1
// maps it onto the fixed 256-colour palette (FixedPaletteColor); any other
// option picks the best colours for the picture.  Deeper targets keep the
// pixels and only record the new depth, since the data is always true colour.
int ConvertDepth(PictureRecord* record, int bitsPerPixel, int option, void* reserved1,
                 void* reserved2);
// Reduces the record for a screen of `screenDepth` bits that shows colours
// through the shared palette (8 bits or fewer).
int ReduceForPaletteScreen(PictureRecord* record, int option, int screenDepth);

// Palettes.  The platform's screen is true colour and has no palette objects,
// so these give 0 ("no palette"); selecting 0 changes nothing.
HPALETTE MakePaintPalette(HDC dc, PictureRecord* record);
HPALETTE DuplicatePalette(HPALETTE palette);
// Colour `index` (0..255) of the fixed palette: a 6 x 6 x 6 colour cube
// followed by 40 greys.
COLORREF FixedPaletteColor(int index);

// Draws the whole picture into `rect` of the device context, resampled to the
// rectangle's size with a good filter.  The window argument is not used.
int PaintRecord(HWND window, HDC dc, PictureRecord* record, const RECT* rect, void* reserved1,
                void* reserved2);

// Reads `count` rows of a bitmap `width` x `height` from row `first` as
// 0x00RRGGBB words, top row first.  False when the bitmap is gone or smaller.
bool ReadBitmapWords(HBITMAP bitmap, LONG width, LONG height, UINT first, UINT count, uint32_t* words);

// Makes `record` a 24-bit picture of the pixels inside `rect` of the device
// context.  Any data the record held is freed first.
int CapturePicture(HDC dc, PictureRecord* record, const RECT* rect);

// Writes the record to `path` in one of the PICTURE_FORMAT_* formats, at
// `bitsPerPixel` (8 gives a palette picture, else 24) and, for the lossy
// formats, `quality` (2 = best .. 255 = smallest).  The bytes are encoded in
// memory first and reach the disk through the crash-safe file calls, so a
// failed save never leaves a torn file.  Returns 1 on success.
int EncodeFile(LPCSTR path, PictureRecord* record, int format, int bitsPerPixel, int quality);
