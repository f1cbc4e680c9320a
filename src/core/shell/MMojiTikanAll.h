#pragma once

#include <QString>

namespace brelix::shell {

// Replaces every occurrence of `search` in `text` by `replacement`, left to right, and returns
// how many it replaced. The search goes on after each inserted replacement, so a replacement
// is never searched again. Without `caseSensitive` both sides are compared upper-cased. With
// `escapes`, "\n" in the search text and the replacement stands for CR LF and "\t" for a tab.
// An empty search text replaces nothing and returns 0.
qint32 M_MojiTikanAll(bool caseSensitive, QString& text, const QString& search,
                      const QString& replacement, bool escapes);

} // namespace brelix::shell
