#include "FitSize.h"

void FitSize(uint32_t shapeW, uint32_t shapeH, uint32_t boxW, uint32_t boxH,
             uint32_t& fittedW, uint32_t& fittedH)
{
    uint32_t h0 = shapeH * boxW / shapeW;   // height when the shape takes the whole width
    if (h0 > boxH) {
        fittedW = shapeW * boxH / shapeH;   // the height limits
        fittedH = boxH;
    } else {
        fittedW = boxW;                     // the width limits; equality gives the whole box
        fittedH = h0;
    }
}
