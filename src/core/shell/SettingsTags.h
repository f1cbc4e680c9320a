#pragma once

#include <QStringView>

namespace brelix::shell {

// The settings file beside the program.
inline constexpr QStringView SettingsFileName = u"Brelix.ini";

// The tags that open each line of the settings file. They are compared exactly, blanks and
// letter case included, so files written by earlier versions keep loading.
namespace tag {

inline constexpr qsizetype Length = 8;

inline constexpr QStringView Kind = u"[KIND  ]";
inline constexpr QStringView Top = u"[TOP   ]";
inline constexpr QStringView Left = u"[LEFT  ]";
inline constexpr QStringView Color = u"[COLOR ]";
inline constexpr QStringView Daisyo = u"[DAISYO]";
inline constexpr QStringView Hyouji = u"[HYOUJI]";
inline constexpr QStringView Front = u"[FRONT ]";
inline constexpr QStringView Print = u"[PRINT ]";
inline constexpr QStringView Grep = u"[GREP  ]";
inline constexpr QStringView Sheet = u"[Sheet ]";
inline constexpr QStringView Patrn = u"[PATRN ]";
inline constexpr QStringView ToolBr = u"[TOOLBR]";
inline constexpr QStringView Hikaku = u"[HIKAKU]";
inline constexpr QStringView DiffCl = u"[DIFFCL]";

} // namespace tag
} // namespace brelix::shell
