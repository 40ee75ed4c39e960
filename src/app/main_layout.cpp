#include "app/main_layout.h"

namespace {
constexpr int kLabelGap = 7;
}

int IndexLabelsLeft(int clientWidth, int w21, int w22, int w23, int w24, int label3Left)
{
    return clientWidth - w21 - w22 - w23 - w24 - 3 * kLabelGap - label3Left;
}

IndexLabelPlacement PlaceIndexLabels(int clientWidth, const int widths[4], int label3Left)
{
    IndexLabelPlacement p;
    p.l21 = IndexLabelsLeft(clientWidth, widths[0], widths[1], widths[2], widths[3], label3Left);
    p.l22 = p.l21 + widths[0] + kLabelGap;
    p.l23 = p.l22 + widths[1] + kLabelGap;
    p.l24 = p.l23 + widths[2] + kLabelGap;
    return p;
}
