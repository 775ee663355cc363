// Pictures from files and from the program's embedded resources, decoded once
// and turned into screen bitmaps.
#pragma once

#include <initializer_list>

#include "imaging/picture_library.h"
#include "platform/win32.h"

// Decodes a picture file into `record`, at the depth it has in the file and
// at most kPictureWidestKept wide: a wider picture is decoded reduced to that
// width, its height in proportion.  Returns 1 when done; 0 when the file is
// not a picture the game reads (the record is left as it was), or could not
// be decoded (the record is then empty).
int DecodePictureFile(LPCSTR path, PictureRecord* record);

// Decodes the embedded picture resource `name` (type "TEXT") into `record`.
// A missing or undecodable resource leaves the record empty.
void LoadResourcePicture(PictureRecord* record, LPCSTR name);

// Start-up overlap: decodes, on the second processor, the picture file, then
// the embedded picture LoadResourcePicture will want (`pictureName`), then
// those LoadPictureBitmap will want, in that order.  The loading calls take
// what was decoded for them (see PrefetchFile); DropPrefetchedFile forgets
// the rest.
void PrefetchStartupPictures(LPCSTR path, LPCSTR pictureName, std::initializer_list<LPCSTR> bitmapNames);

// Loads an embedded picture as a screen bitmap of its own size.  `name` is a
// dot followed by the resource name (".egg" names resource EGG; case does not
// matter).  The picture's width and height are stored through the addresses
// that are not null.  Returns the new bitmap, or 0 when there is no such
// picture or it cannot be decoded.
HBITMAP LoadPictureBitmap(LPCSTR name, int* width, int* height, HWND window);

// The embedded picture resource `name` (type "TEXT") as a screen bitmap of
// its own size, as LoadResourcePicture and PictureToBitmap's own-size form
// make it; 0 when there is no such picture.
HBITMAP ResourcePictureBitmap(LPCSTR name, HWND window);

// A picture file as a screen bitmap of its own size; 0 when it cannot be
// decoded.
HBITMAP PictureFileBitmap(LPCSTR path, HWND window);

// On a screen with more pixels than units, LoadPictureBitmap,
// ResourcePictureBitmap and PictureFileBitmap take the picture's twice-size
// form where the game has one (resource NAME@2x, file NAME@2x.EXT beside the
// file): the bitmap keeps the picture's own size in units, and its pixels
// come from the sharper form.

// Makes a screen bitmap from a decoded picture.  left == -1: the picture's own
// size, and the record's data is freed afterwards.  Otherwise: right x bottom
// pixels with the whole picture stretched into them (proportions are not
// kept), and the record stays decoded, converted to the screen's depth, for
// the next resize.  `top` is not used.  Returns the new bitmap (0 in the own
// size form when the record holds no picture).
HBITMAP PictureToBitmap(PictureRecord* record, HWND window, int left, int top, int right, int bottom);

// A picture shown at its own size would be held twice, as the record's words
// and as the bitmap made from them.  ParkInBitmap lets the words go when the
// bitmap holds exactly the same pixels (the record keeps its size and depth,
// and PICTURE_IN_BITMAP instead of PICTURE_HAS_DATA); TakeFromBitmap reads
// them back from that bitmap before the record is used again.  Both answer
// whether the record now holds its words (Take) or lent them (Park).
bool ParkInBitmap(PictureRecord* record, HBITMAP bitmap);
bool TakeFromBitmap(PictureRecord* record, HBITMAP bitmap);

// PictureToBitmap stretched to `rect`, with the record then lent to the bitmap
// (as ParkInBitmap leaves it) when the two are the same size on a true-colour
// screen: the record's words become the bitmap's pixels, so nothing is copied
// or compared.  Otherwise the record stays decoded, as with PictureToBitmap.
HBITMAP PictureToLentBitmap(PictureRecord* record, HWND window, const RECT& rect);

// The same with the target given as a rectangle (a client rectangle, say).
inline HBITMAP PictureToBitmap(PictureRecord* record, HWND window, const RECT& rect) {
  return PictureToBitmap(record, window, rect.left, rect.top, rect.right, rect.bottom);
}
