#pragma once

#include <QString>

namespace brelix::libreoffice {

// The instances that programs of ours left in the offices' folder: those whose owning program
// is gone without handing them over are stopped, those that ended are removed.
class InstanceSweeper {
public:
    // Of every place where a run of ours may have left instances.
    static void sweepStale();
    // Is an office that was handed over still running, by the records of the offices' folder?
    static bool handedOverInstanceOpen();

private:
    static void sweepFolder(const QString& runtime);
};

} // namespace brelix::libreoffice
