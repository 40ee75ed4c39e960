#pragma once
// What installing needs of the main window: the installer replaces the program's files, so it
// starts only once the main window is sure to close, and the program then ends through its
// ordinary close.

class ProgramCloser
{
public:
    virtual ~ProgramCloser() = default;
    // Saves as the close would, asking where the close would ask; false when the user keeps the
    // window open.
    virtual bool readyToClose() = 0;
    virtual void closeProgram() = 0;
};
