// The EXIF orientation of a decoded photo: cameras and phones store a portrait
// as landscape pixels plus a tag that says how to turn them, and every viewer
// shows the photo turned. The decoder reads the tag from the APP1 segment and
// turns the pixels at once, so the photo in work is upright.
#pragma once

#include <cstddef>
#include <cstdint>

class TBitmap;

// The orientation an APP1 segment gives (data: the bytes after the segment's
// length field). 0 when the segment is not Exif; 1..8 for an Exif segment:
// the value of tag 0x0112 in its first image directory, or 1 when the tag is
// missing, out of range or cut off. Reads nothing beyond data + size.
int ExifSegmentOrientation(const std::uint8_t* data, std::size_t size);

// Turns and mirrors a picture stored with orientation 2..8 upright (5 to 8
// swap width and height); any other value leaves it as it is.
void ApplyExifOrientation(TBitmap& bitmap, int orientation);
