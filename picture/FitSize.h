// Aspect fitting shared by the picture control and the print jobs.
// Pure arithmetic: it builds on Windows and natively for the unit tests.
#pragma once
#include <cstdint>

// The largest size with the shape's proportions that fits the box, touching
// it on at least one side. Unsigned 32-bit arithmetic throughout: every
// product wraps to 32 bits and every division truncates. The shape's width,
// and on the height-limited branch its height, must not be 0.
void FitSize(uint32_t shapeW, uint32_t shapeH, uint32_t boxW, uint32_t boxH,
             uint32_t& fittedW, uint32_t& fittedH);
