#pragma once

#include <QByteArray>
#include <QString>

namespace brelix::files {

// The text of a file this program writes in UTF-8: UTF-8 when the bytes are valid UTF-8 (a
// leading byte-order mark dropped), otherwise Shift-JIS in its Windows form (CP932), so that
// files written by older Windows tools still load.
QString decodeUtf8OrShiftJis(const QByteArray& bytes);

// Whether the bytes are valid UTF-8: the choice decodeUtf8OrShiftJis makes, for readers (the
// office's CSV import) that decode for themselves.
bool isUtf8(const QByteArray& bytes);

} // namespace brelix::files
