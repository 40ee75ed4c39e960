#include "app/main_layout.h"

IndexLabelPlacement PlaceIndexLabels(int clientWidth, const int widths[4], int label3Left)
{
    IndexLabelPlacement p {};
    p.l21 = clientWidth - (widths[0] + widths[1] + widths[2] + widths[3]) - 21 - label3Left;
    p.l22 = p.l21 + widths[0] + 7;
    p.l23 = p.l22 + widths[1] + 7;
    p.l24 = p.l23 + widths[2] + 7;
    return p;
}

int HelpButtonLeft(int clientWidth, int buttonWidth)
{
    return clientWidth - 10 - buttonWidth;
}
