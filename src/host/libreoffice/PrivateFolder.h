#pragma once

#include <QString>

namespace brelix::libreoffice {

// A folder for this user alone. The offices' instances, records and offers lie in one, under
// /tmp when the session has no runtime folder: a folder of that name that another user made
// beforehand, or could fill, would let them reach into our offices.
class PrivateFolder {
public:
    // Whether `path` is a real folder (no link) of this user's that no one else can enter. One
    // of ours that others can only read, as earlier versions made it, is closed to them first.
    static bool check(const QString& path);
    // Makes the folder with room for this user alone, or finds it so; HostError StartFailed,
    // naming it, when a folder of that name is not.
    static void make(const QString& path);
    // The folder of this user's offices: in the session's runtime folder when it has one.
    static QString officesFolder();
};

} // namespace brelix::libreoffice
