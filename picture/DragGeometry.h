// Arithmetic of the print-range drag: holding a frame to the L proportions
// and turning screen pixels into photo pixels. Pure: builds natively too.
#pragma once
#include <cstdint>

// Same layout as the Windows RECT: right and bottom exclusive.
struct DragRect {
    int32_t left, top, right, bottom;
};

// The L-size paper, 89 x 127 mm: long side : short side.
const uint32_t kLongSide = 127;
const uint32_t kShortSide = 89;

// Keeps the top-left corner and the longer dragged side; the other side is
// recomputed so the sides stand in the ratio a : b (unsigned 32-bit,
// truncating, wrapping).
DragRect ConstrainAspect(const DragRect& r, uint32_t a, uint32_t b);

// Each coordinate times the scale, in extended precision, truncated toward
// zero; a product beyond the int range stops at its nearer end, and a scale
// that is not a number gives 0.
DragRect ScaleRect(const DragRect& r, float scale);

// The frame a drag from `start` to `pointer` draws: landscape 127:89 when
// wider than tall, otherwise (a square included) upright 89:127.
DragRect DragFrame(int32_t startX, int32_t startY, int32_t pointerX, int32_t pointerY);
