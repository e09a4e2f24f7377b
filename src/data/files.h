#pragma once
#include <QString>
#include <functional>

namespace domiva::files {

// Puts `from` in the place of `to` in one step, replacing what was there.
bool replace(const QString &from, const QString &to);

// Writes `path` through a temporary file beside it: `write` fills the
// temporary path and says whether it succeeded; only then does the file
// take the place of `path`. On failure any older file is left whole and no
// temporary file is left behind.
bool writeAtomically(const QString &path, const std::function<bool(const QString &temporary)> &write);

} // namespace domiva::files
