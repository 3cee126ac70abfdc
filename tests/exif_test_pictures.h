// Test pictures stored the way cameras store a turned photo: the pixels of
// an upright picture rearranged for an EXIF orientation, and the APP1 segment
// that carries the tag.
#pragma once

#include <string>

#include "platform/bitmap.h"

// A picture of 16 x 16 tiles, each of one grey level, without symmetry (a
// gradient and a letter F). JPEG codes such tiles exactly alike wherever they
// lie, so a picture turned before encoding and one turned after decoding
// compare pixel for pixel. width and height are multiples of 16, at least
// 112 x 144 for the whole letter.
void FillGreyTiles(TBitmap& bitmap, int width, int height);

// The pixels a camera stores for upright with orientation 1..8, written from
// the tag's own definition (which sides the stored first row and first
// column show), independently of the decoder's mapping.
void StoreForOrientation(const TBitmap& upright, int orientation, TBitmap& stored);

// The data of an APP1 Exif segment (the bytes after its length field) whose
// first directory holds a maker tag and then the orientation tag, in Intel
// ("II") or Motorola ("MM") byte order.
std::string ExifOrientationData(bool bigEndian, int orientation);
// jpeg with an APP1 segment of data inserted right after its start marker.
std::string WithApp1(const std::string& jpeg, const std::string& data);
