#pragma once

#include <QString>

namespace brelix::shell {

// The folder that holds the template, the settings and the outputs: BRELIX_HOME when set,
// else the folder of the running executable.
QString programFolder();

// A file of the program's folder.
QString programFile(const QString& name);

} // namespace brelix::shell
