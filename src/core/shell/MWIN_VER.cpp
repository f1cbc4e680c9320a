#include "MWIN_VER.h"

namespace brelix::shell {

qint16 M_WinVer()
{
    return WinVerUnknown;
}

} // namespace brelix::shell
