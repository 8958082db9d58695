#pragma once
// Path helpers of the start-up. Paths keep their letter case (the file
// system here tells case apart); backslashes from settings written on
// Windows become the platform separator.
#include <QString>
#include <QStringList>

// Backslashes to "/", then the trailing separator added or removed.
QString NormalizePath(const QString& path, bool withTrailingSeparator);
// Creates the directory with all parents when missing; false on any failure.
bool EnsureDirectory(const QString& path);
// When path begins with placeholder (case-sensitive, at the start only), it is
// replaced by replacement less its trailing separator; the result is
// normalised without trailing separator.
QString ExpandDataDir(const QString& path, const QString& placeholder, const QString& replacement);
// Joins a directory that ends with a separator and a relative part.
QString JoinPath(const QString& directory, const QString& relative);
// A name that becomes one component of a path (a client, an address
// identifier): false when it is empty, "." or "..", or holds a path separator
// or a control character, since it could then leave its folder.
bool IsSafePathComponent(const QString& name);
// The catalogue directories below dir: subdirectories not beginning with
// ".", in the order the file system gives them (by name, ignoring case).
QStringList CatalogueDirectoryNames(const QString& dir);
