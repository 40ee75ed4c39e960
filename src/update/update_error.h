#pragma once
// A failure of the update's file or process work (a full disk, a process that cannot be
// stopped). It ends the running event handler and is shown in the same critical message box as
// a conversion failure, so handlers catch both at one boundary.

#include "support/conversion_error.h"

class UpdateError : public ConversionError
{
public:
    using ConversionError::ConversionError;
};
