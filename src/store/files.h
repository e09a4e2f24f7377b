#pragma once
#include <QString>
#include <functional>

namespace domiva::files {

// A path as a message shows it: the system's separators, kept left to right
// inside the Hebrew text (its slashes would move otherwise).
QString shown(const QString &path);

// Whether the disk holding `path` has no room left (under 64 KB free).
bool diskFull(const QString &path);

// Creates every missing folder on the way to `folder`, each owner-only
// (0700) whatever the umask; true when `folder` is then a folder.
bool makeFolders(const QString &folder);

// Puts `from` in the place of `to` in one step, replacing what was there
// (a link at `to` is replaced, never followed).
bool replace(const QString &from, const QString &to);

// Moves `from` to `to` only while nothing is at `to`: never overwrites.
bool placeNew(const QString &from, const QString &to);

// Writes `path` through a temporary file: `write` fills the temporary path
// and says whether it succeeded; only then does the file take the place of
// `path`. The temporary file stands in a folder of its own, made owner-only
// beside `path`, so nobody else can put a link in its place while it is
// written. On failure any older file is left whole and nothing of the
// attempt is left behind.
bool writeAtomically(const QString &path, const std::function<bool(const QString &temporary)> &write);

// The name a temporary folder of writeAtomically() starts with; what an
// interrupted write leaves is found by it.
inline constexpr char leftoverPrefix[] = ".domiva-writing-";
// Removes what interrupted writes left in `folder` more than an hour ago
// (a younger one may be another copy of the program at work).
void removeLeftovers(const QString &folder);

} // namespace domiva::files
