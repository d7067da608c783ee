#pragma once

#include <QString>

namespace rova::paths {

// Operations on path strings. "/" separates folders; a path that ends with it names a folder.
// None of them touches the file system except qualify.

inline constexpr QChar kSeparator = u'/';

// From the last "." of the whole path on (so "/a.b/name" gives ".b/name"); empty without one.
QString extension(const QString& path);
// After the last separator; the whole path when there is none.
QString fileName(const QString& path);
// Up to and including the last separator; empty when there is none.
QString folder(const QString& path);
bool endsWithSeparator(const QString& path);
// Appends a separator to a non-empty path that lacks one.
QString ensureSeparator(const QString& path);
// Removes one final separator.
QString removeSeparator(const QString& path);
// The length of the root the path starts with: 1 for an absolute path, else 0.
qsizetype rootLength(const QString& path);
// The absolute, normalised form of `name` relative to the current folder (the file need not
// exist), with a final separator when it names an existing folder; empty for an empty name.
QString qualify(const QString& name);

}  // namespace rova::paths
