#pragma once

#include <QStringView>

namespace brelix::settings {

// The tags that open each line of the settings file. They are compared exactly, blanks and
// letter case included, so files written by older versions keep loading.
namespace tag {

inline constexpr qsizetype Length = 8;

inline constexpr QStringView StartMode = u"[KIND  ]";
inline constexpr QStringView Top = u"[TOP   ]";
inline constexpr QStringView Left = u"[LEFT  ]";
inline constexpr QStringView Width = u"[WIDTH ]";
inline constexpr QStringView ColourDifferences = u"[COLOR ]";
inline constexpr QStringView CaseSensitive = u"[DAISYO]";
inline constexpr QStringView WindowLayout = u"[HYOUJI]";
inline constexpr QStringView AlwaysOnTop = u"[FRONT ]";
inline constexpr QStringView FolderHistory = u"[PRINT ]";
inline constexpr QStringView SearchHistory = u"[GREP  ]";
inline constexpr QStringView PrintScope = u"[Sheet ]";
inline constexpr QStringView FileType = u"[PATRN ]";
inline constexpr QStringView ToolbarRows = u"[TOOLBR]";
inline constexpr QStringView CompareTarget = u"[HIKAKU]";
inline constexpr QStringView DiffColour = u"[DIFFCL]";
inline constexpr QStringView AlignRows = u"[ALIGN ]";
inline constexpr QStringView ReadyOffice = u"[READY ]";
inline constexpr QStringView NoSizeLimit = u"[NOLIMT]";
inline constexpr QStringView OfficeCount = u"[JOBS  ]";
inline constexpr QStringView KeyColumns = u"[KEYCOL]";
inline constexpr QStringView BySheetName = u"[BYNAME]";
inline constexpr QStringView IgnoreCase = u"[IGCASE]";
inline constexpr QStringView IgnoreWidth = u"[IGWIDE]";
inline constexpr QStringView IgnoreBlanks = u"[IGBLNK]";
inline constexpr QStringView Tolerance = u"[TOLERN]";
inline constexpr QStringView IgnoredColumns = u"[IGCOLS]";

} // namespace tag
} // namespace brelix::settings
