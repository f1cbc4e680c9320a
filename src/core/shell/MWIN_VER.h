#pragma once

#include <QtGlobal>

namespace brelix::shell {

inline constexpr qint16 WinVerUnknown = -1;
inline constexpr qint16 WinVer95 = 1;
inline constexpr qint16 WinVerNT = 2;

// The platform family the shortcut reading goes by. Linux belongs to neither Windows family,
// so this is always WinVerUnknown, which reads shortcuts the NT way.
qint16 M_WinVer();

} // namespace brelix::shell
