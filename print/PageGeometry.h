// The L-size page of a print job in printer device pixels, and where the
// photo (or its print range) comes from. Pure arithmetic: it builds on
// Windows and natively for the unit tests.
#pragma once
#include <cstdint>

// The L-size area, 89 x 127 mm, in inches. The width is the single-precision
// value nearest to 89 / 25.4.
const float kLWidthInches = 3.503937f;
const float kLHeightInches = 5.0f;

// The L-size area at the printer's resolution (dots per inch, as GDI+ reads
// it): each product formed in double precision and truncated, never rounded.
// A resolution that is not positive gives 0 on that side.
void LPageSize(float dpiX, float dpiY, uint32_t& pageW, uint32_t& pageH);

// A photo (as stored) is turned 90 degrees clockwise before printing when it
// is wider than tall, so that it fills the upright L-size area.
bool PhotoNeedsTurn(uint32_t width, uint32_t height);

// The part of a (turned) photo of width x height that fills the L-size area:
// the largest rectangle with the area's proportions, from the photo's
// top-left corner, so the excess is cut at the right or at the bottom.
// Returns false, with a 0 x 0 source, when the area is empty: nothing can be
// drawn and nothing is divided by zero.
bool LSourceSize(uint32_t pageW, uint32_t pageH, uint32_t width, uint32_t height,
                 uint32_t& srcW, uint32_t& srcH);

// Whether the imaging library can draw a source part of width x height. It
// converts the part it draws to 32 bits per pixel in one buffer whose size
// it reckons in a signed 32-bit int: a larger part overflows the reckoning
// (Wine's 64-bit library then writes past its buffer and the program
// crashes), so such a part is not drawn. Sizes that are not positive pass.
bool DrawableSource(int64_t width, int64_t height);

// A print range in pixels of the photo: right and bottom exclusive.
struct RangeRect {
    int32_t left, top, right, bottom;
};

// A range wider than tall is printed turned clockwise.
bool RangeNeedsTurn(const RangeRect& range);

// The same pixels of the photo after it has been turned clockwise, given the
// turned photo's width (the stored photo's height): the result is taller than
// wide. The stored range's top-left pixel ends at the top-right.
RangeRect TurnRange(const RangeRect& range, uint32_t turnedWidth);
