#pragma once
// A disk that fills up, for one test: while a WriteLimit lives, the file layer accepts only this
// many more bytes and then fails as a full disk does. The limit is lifted again on leaving the
// scope, also when the test fails half-way.

#include "platform/file_commit.h"

class WriteLimit
{
public:
    explicit WriteLimit(qint64 bytesBeforeFailure) { platform::setWriteLimitForTesting(bytesBeforeFailure); }
    ~WriteLimit() { platform::setWriteLimitForTesting(-1); }
    WriteLimit(const WriteLimit &) = delete;
    WriteLimit &operator=(const WriteLimit &) = delete;
};
