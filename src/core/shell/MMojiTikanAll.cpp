#include "MMojiTikanAll.h"

using namespace Qt::StringLiterals;

namespace brelix::shell {

namespace {

// Upper case one code point at a time, so that positions in the copy stay positions in the
// original (a full mapping would turn "ß" into "SS").
QString upperKeepingLength(const QString& text)
{
    QString upper = text;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        if (upper.at(i).isHighSurrogate() && i + 1 < upper.size() &&
            upper.at(i + 1).isLowSurrogate()) {
            const char32_t mapped =
                QChar::toUpper(QChar::surrogateToUcs4(upper.at(i), upper.at(i + 1)));
            if (QChar::requiresSurrogates(mapped)) {
                upper[i] = QChar(QChar::highSurrogate(mapped));
                upper[i + 1] = QChar(QChar::lowSurrogate(mapped));
            }
            ++i;
        } else {
            upper[i] = upper.at(i).toUpper();
        }
    }
    return upper;
}

QString expandEscapes(const QString& text)
{
    QString expanded = text;
    M_MojiTikanAll(true, expanded, u"\\n"_s, u"\r\n"_s, false);
    M_MojiTikanAll(true, expanded, u"\\t"_s, u"\t"_s, false);
    return expanded;
}

} // namespace

qint32 M_MojiTikanAll(bool caseSensitive, QString& text, const QString& search,
                      const QString& replacement, bool escapes)
{
    const QString what = escapes ? expandEscapes(search) : search;
    const QString with = escapes ? expandEscapes(replacement) : replacement;
    // An empty search text would be found at every position for ever.
    if (what.isEmpty())
        return 0;

    const QString whatKey = caseSensitive ? what : upperKeepingLength(what);
    const QString withKey = caseSensitive ? with : upperKeepingLength(with);
    QString key = caseSensitive ? QString() : upperKeepingLength(text);

    qint32 count = 0;
    qsizetype position = 0;
    for (;;) {
        const qsizetype found =
            caseSensitive ? text.indexOf(what, position) : key.indexOf(whatKey, position);
        if (found < 0)
            return count;
        ++count;
        text.replace(found, what.size(), with);
        if (!caseSensitive)
            key.replace(found, whatKey.size(), withKey);
        position = found + with.size();
    }
}

} // namespace brelix::shell
