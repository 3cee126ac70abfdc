// Conversions between places and sizes on the preview and in frame pixels at
// full size, by the ratio of the two frame widths. The three forms differ in
// where the arithmetic rounds, and the pixels drawn depend on it, so each
// keeps the rounding of the routine that uses it. A width of 0 gives 0.
#pragma once

// A place on the preview in frame pixels (where the composition draws a text
// whose image sits there): v x frameWidth / previewWidth in double, rounded to
// float, truncated toward zero.
int PreviewToFrame(int v, int previewWidth, int frameWidth);

// A size in frame pixels as shown on the preview (a text image's size):
// v x (previewWidth / frameWidth) in double, rounded to float, truncated.
int FrameToPreviewSize(int v, int previewWidth, int frameWidth);

// A place in frame pixels on the preview (the title image's place): the ratio
// previewWidth / frameWidth held as float, v x ratio rounded to float,
// truncated.
int FrameToPreviewPlace(int v, int previewWidth, int frameWidth);
