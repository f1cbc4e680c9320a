#include "cli/CliText.h"

using namespace Qt::StringLiterals;

namespace brelix::cli {

QString escapeField(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            escaped += u"\\\\"_s;
            break;
        case u'\t':
            escaped += u"\\t"_s;
            break;
        case u'\r':
            escaped += u"\\r"_s;
            break;
        case u'\n':
            escaped += u"\\n"_s;
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString oneLine(const QString& text)
{
    return text.simplified();
}

} // namespace brelix::cli
