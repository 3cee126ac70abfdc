// The frame image of a layout and its blend into a composed picture. The
// frame image is white at the frame size with the photo area black: the main
// window draws it over the photo with black see-through, and the frame
// settings editor shows it and writes it as the layout's .bmp.
#pragma once

#include "pipeline/frame_layout.h"
#include "pipeline/pixel_plane.h"

class TBitmap;

// Makes picture the frame image of layout (frame size, white, the photo area
// from its left and top margins black, cut off at the picture's edges).
// Draws nothing and returns false when the frame or photo area has a size of
// 0 or less.
bool DrawFrameImage(TBitmap& picture, const TFrameLayout& layout);

// Blends frameImage into target over width x height by the alpha of mask
// (0..255 per pixel of the full frame frameWidth x frameHeight; a smaller
// target reads the mask at the scaled place; where the mask holds no value
// the alpha is 0 and target stays). Returns 0, -1 / -2 when the two pictures
// differ in width / height, -3 when width or height is below 1.
int BlendFrameImage(int width, int height, TBitmap& target, const TBitmap& frameImage, const PixelPlane& mask,
                    int frameWidth, int frameHeight);
