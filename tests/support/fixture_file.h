#pragma once
// Reads a hand-written sample page from tests/fixtures.

#include <QByteArray>

QByteArray ReadFixture(const char *name);
