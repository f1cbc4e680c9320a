#include "core/files/TextDecoding.h"

#include <QStringDecoder>

namespace brelix::files {

QString decodeUtf8OrShiftJis(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // ICU's Shift_JIS is the Windows table: 0x5C is a backslash, NEC and IBM extensions kept.
    QStringDecoder shiftJis("Shift_JIS");
    if (!shiftJis.isValid())
        return text; // a Qt without ICU: the UTF-8 reading with replacement characters
    return shiftJis(bytes);
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = utf8(bytes); // decoding sets the error state
    return !utf8.hasError();
}

} // namespace brelix::files
