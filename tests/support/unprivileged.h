#pragma once
// Runs a piece of a test in a child process as an unprivileged user, so that file permissions
// hold even when the test suite itself runs as root (as it does in CI). The folder given is
// handed to that user first. Returns true when the child returned 0.

#include <QString>

#include <functional>

bool runAsUnprivilegedUser(const QString &folder, const std::function<int()> &body);
