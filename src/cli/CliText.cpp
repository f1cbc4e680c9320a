#include "cli/CliText.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace brelix::cli {

namespace {

// "-h, --help", "--from N": the names as typed, then the value.
QString optionNames(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names.append((name.size() == 1 ? u"-"_s : u"--"_s) + name);
    const QString value = option.valueName();
    return names.join(u", "_s) + (value.isEmpty() ? QString() : u' ' + value);
}

} // namespace

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

QString optionsSection(const QList<QCommandLineOption>& options, int column)
{
    const QString indent(column, u' ');
    QString text = QCoreApplication::translate("CliText", "Options:\n");
    for (const QCommandLineOption& option : options) {
        QString names = u"  "_s + optionNames(option);
        // Two blanks at least between the names and the description.
        if (names.size() + 2 > column) {
            text += names + u'\n';
            names.clear();
        }
        text += names.leftJustified(column) +
                option.description().split(u'\n').join(u'\n' + indent) + u'\n';
    }
    return text;
}

} // namespace brelix::cli
