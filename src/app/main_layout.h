#pragma once
// Geometry rules of the main window that need no window to compute.

// Left edges of the four index labels, which sit side by side as one group against the right
// margin of the bottom panel.
struct IndexLabelPlacement {
    int l21, l22, l23, l24;
};

// The group's left edge: the client width minus the four label widths, the three 7-pixel gaps
// and the right margin (which mirrors Label3's left margin).
int IndexLabelsLeft(int clientWidth, int w21, int w22, int w23, int w24, int label3Left);

// widths: those of L21 to L24 after their new texts were set.
IndexLabelPlacement PlaceIndexLabels(int clientWidth, const int widths[4], int label3Left);
