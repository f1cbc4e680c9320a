#include "core/language/UiLanguage.h"

#include "core/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace brelix::language {

UiLanguage chooseLanguage(const QString& locale, const QString& override)
{
    if (override == u"ja"_s)
        return UiLanguage::Japanese;
    if (override == u"en"_s)
        return UiLanguage::English;
    // "ja_JP.UTF-8", "de_DE@euro", "C.UTF-8": the language comes first.
    static const QRegularExpression territoryOrMore(u"[_.@]"_s);
    const QString language = locale.section(territoryOrMore, 0, 0);
    if (language.isEmpty() || language == u"C"_s || language == u"POSIX"_s || language == u"ja"_s)
        return UiLanguage::Japanese;
    return UiLanguage::English;
}

UiLanguage processLanguage()
{
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            break;
    }
    return chooseLanguage(locale, qEnvironmentVariable("BRELIX_LANG"));
}

QString languageCode(UiLanguage language)
{
    return language == UiLanguage::English ? u"en"_s : u"ja"_s;
}

QString officeLocale(UiLanguage language)
{
    return language == UiLanguage::English ? u"en-US"_s : u"ja-JP"_s;
}

void installTranslation(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString name = u"brelix_"_s + languageCode(language);
    // Beside the executable when installed or built; the program's folder serves the tests,
    // whose executables lie elsewhere.
    for (const QString& folder : {QCoreApplication::applicationDirPath(), files::programFolder()}) {
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

} // namespace brelix::language
