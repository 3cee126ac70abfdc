// Camera-like test pictures for the benchmarks: a group photograph drawn from
// shapes (three rows of people before a wall and grass) with soft light,
// edges, textures at several scales and a little sensor noise, so that the
// codec spends on them about what it spends on a camera's photo of the same
// size (a camera's 12-megapixel JPEG at high quality is 3 to 6 MB) and the
// pipeline sees realistic content. Neither flat nor white noise: both would
// flatter or burden the codec.
#pragma once

#include <string>

#include "platform/bitmap.h"

// The quality the pictures are written at, as a camera's fine setting.
constexpr int kCameraQuality = 95;

// variant varies the people and textures from one photo of a set to the next.
void MakePhoto(TBitmap& photo, int width, int height, unsigned variant = 0);
// Writes such a picture as a JPEG of kCameraQuality.
void WritePhotoJpeg(const std::string& path, int width, int height, unsigned variant = 0);
