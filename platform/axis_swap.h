// Pictures turned a quarter or mirrored across a diagonal: each row of the
// destination is a column of the source. Walking the source down its columns
// touches a new row (and memory page) at every pixel, so the work goes in
// small tiles whose next source lines are fetched ahead; the rows are spread
// over the row pool. Shared by the quarter turns and the EXIF orientation.
#pragma once

class TBitmap;

// Destination pixel (j, i) takes source pixel (firstColumn + columnStep * i,
// firstRow + rowStep * j); steps are 1 or -1, and every such position lies
// inside the source. The caller sizes destination, which must not be source.
void GatherSwappedAxes(const TBitmap& source, TBitmap& destination, int columnStep, int firstColumn, int rowStep,
                       int firstRow);
