#pragma once
// Geometry of the main window that follows from its width: the help button at the right edge
// and the four index labels laid out right-aligned as one group.

struct IndexLabelPlacement {
    int l21, l22, l23, l24;
};

// Left edges of the four labels: the group ends 21 px plus the detail panel's label margin
// before the client's right edge, with 7 px between neighbours.
IndexLabelPlacement PlaceIndexLabels(int clientWidth, const int widths[4], int label3Left);

// Left edge of the help button, whose right edge stays 10 px inside the client width.
int HelpButtonLeft(int clientWidth, int buttonWidth);
