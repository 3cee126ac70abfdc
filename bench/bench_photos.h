// Camera-like test pictures for the benchmarks: a group photograph drawn from
// shapes (three rows of people before trees and grass) with soft light,
// edges, textures at several scales and a little sensor noise, so that the
// codec spends on them about what it spends on a camera's photo of the same
// size and the pipeline sees realistic content. They come to about 0.18 bytes
// a pixel at 12 megapixels (2.2 MB) and 0.17 at 24: folders of real
// photographs of those sizes measured 0.13 to 0.2, and a typical 12-megapixel
// camera JPEG of 2 to 4 MB is 0.17 to 0.33. A camera's own processing is what
// keeps it that low at its fine quality: noise reduction takes most of the
// sensor's noise, and lens and demosaicing resolve no texture much finer than
// two pixels. Neither flat nor white noise: both would flatter or burden the
// codec.
#pragma once

#include <string>

#include "platform/bitmap.h"

// The quality the pictures are written at, as a camera's fine setting.
constexpr int kCameraQuality = 95;

// variant varies the people and textures from one photo of a set to the next.
void MakePhoto(TBitmap& photo, int width, int height, unsigned variant = 0);
// Writes such a picture as a JPEG of kCameraQuality.
void WritePhotoJpeg(const std::string& path, int width, int height, unsigned variant = 0);
