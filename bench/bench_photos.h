// Photo-like test pictures for the benchmarks: smooth gradients with a
// little deterministic noise, so the codec and the reduction see realistic
// content.
#pragma once

#include <string>

#include "platform/bitmap.h"

void MakePhoto(TBitmap& photo, int width, int height);
// Writes such a picture as a JPEG of quality 90.
void WritePhotoJpeg(const std::string& path, int width, int height);
