#pragma once

#include <QByteArray>
#include <QString>

namespace brelix::shell {

// The text of a file that the original platform wrote in its ANSI code page and this program
// writes in UTF-8: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark dropped),
// otherwise Shift-JIS in its Windows form (CP932).
QString decodeAnsiText(const QByteArray& bytes);

// Whether the bytes are valid UTF-8: the choice decodeAnsiText makes, for readers (the office's
// CSV import) that decode for themselves.
bool isUtf8(const QByteArray& bytes);

} // namespace brelix::shell
