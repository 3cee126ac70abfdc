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

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// A text picture of width x height frame pixels as shown on the preview:
// each side as FrameToPreviewSize gives it, unless that is larger than
// limit (the preview area that shows it) on either side; then the largest
// size of the picture's aspect within limit, each side truncated. Shown
// larger than its area the picture shows nothing more, and a frame a few
// pixels wide would ask for gigabytes.
PictureSize PreviewSizeWithin(int width, int height, int previewWidth, int frameWidth, PictureSize limit);
