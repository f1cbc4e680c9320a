#pragma once

#include <QString>

namespace brelix::language {

// The language of every text the user reads. Japanese is the language of the sources.
enum class UiLanguage {
    Japanese,
    English,
};

// The rule on given facts: `override` (BRELIX_LANG, "ja" or "en") wins; otherwise a Japanese
// locale, C, POSIX or none gives Japanese (the program's own language), any other English.
UiLanguage chooseLanguage(const QString& locale, const QString& override);

// The rule on this process's environment: BRELIX_LANG, then LC_ALL, LC_MESSAGES and LANG in
// the order the C library reads them.
UiLanguage processLanguage();

// "ja" or "en".
QString languageCode(UiLanguage language);

// The office's name of the language: "ja-JP" or "en-US".
QString officeLocale(UiLanguage language);

// Makes the application speak `language`. English comes from brelix_en.qm beside the
// executable or in the program's folder; without it the texts stay Japanese.
void installTranslation(UiLanguage language);

} // namespace brelix::language
