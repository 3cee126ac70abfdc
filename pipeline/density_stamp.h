// Patches the density of a JPEG file in place: units = dots per inch and X/Y
// density = dpi in the JFIF APP0 segment, if one starts in the first 200 bytes.
// Only those bytes are read and 5 written, instead of re-encoding the picture.
#pragma once

#include <string>

// false only for a dpi outside 1..65535 (the file is not touched). A file that
// cannot be opened or is not a JFIF JPEG is left alone and still gives true.
bool SetJpegDpi(const std::string& path, int dpi);
