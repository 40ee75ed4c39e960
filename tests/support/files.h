#pragma once
// Reading and writing whole files in a test.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// The bytes of the file; a null array when it cannot be read, so that a missing file and an
// empty one differ (isNull() against isEmpty()).
QByteArray readFile(const QString &path);

// Writes the file, making its folders first; the permissions are set when given. False when it
// could not be written.
bool writeFile(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions = {});

// A hand-written sample page from tests/fixtures; throws when it is missing.
QByteArray ReadFixture(const char *name);
