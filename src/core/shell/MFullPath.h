#pragma once

#include <QString>

namespace brelix::shell {

// The path with every folder and file name as the file system stores it. Only absolute paths
// with at least two characters after the root are rebuilt; the root, a one-character name
// under it, a relative path and a path starting with "//" come back unchanged. A name that
// cannot be found becomes empty, leaving two separators in a row; a trailing separator is
// dropped.
QString M_FullPath(const QString& path);

} // namespace brelix::shell
