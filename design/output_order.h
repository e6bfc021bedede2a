// The orders of the sorted output for cutting, shared by the design page, the cut-output
// settings and the sheet that edits them. The numbers are stored in the application parameters.
#pragma once

enum EOrderMode {
    eOrderDesign = 0,        // keep design order
    eOrderClosestItem = 1,   // closest item first
    eOrderLeastMovement = 2, // least media movement
};

enum EStartPointMode {
    eStartUnchanged = 0,
    eStartClosestToPrevious = 1,
    eStartAlwaysRight = 2,
    eStartAlwaysBottom = 3,
};
