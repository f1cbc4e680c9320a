#pragma once

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>
#include <gtest/gtest.h>
#include <optional>

namespace brelix::support {

// The English translation installed while it lives, as brelix-cli loads it under an English
// locale: brelix_en.qm from the program's folder (BRELIX_HOME, the build's bin folder).
class EnglishTexts {
public:
    EnglishTexts()
    {
        if (!QCoreApplication::instance())
            m_app.emplace(m_argc, m_argv);
        EXPECT_TRUE(
            m_translator.load(QStringLiteral("brelix_en"), qEnvironmentVariable("BRELIX_HOME")));
        QCoreApplication::installTranslator(&m_translator);
    }
    ~EnglishTexts() { QCoreApplication::removeTranslator(&m_translator); }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;

private:
    int m_argc = 1;
    char m_name[6] = "tests";
    char* m_argv[2] = {m_name, nullptr};
    std::optional<QCoreApplication> m_app;
    QTranslator m_translator;
};

// The lines of `text` with a Japanese character, apart from the template's sheet names (the
// change history's followed by its ideographic space) and the words of `data`.
inline QStringList japaneseLines(QString text, const QStringList& data = {})
{
    static const QRegularExpression japanese(
        QStringLiteral("[\u3001-\u30ff\u4e00-\u9fff\uff00-\uffef]"));
    for (const QString& word : QStringList{QStringLiteral("変更履歴　"), QStringLiteral("変更履歴"),
                                           QStringLiteral("Grep結果")} +
                                   data)
        text.remove(word);
    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString& line) { return !line.contains(japanese); });
    return lines;
}

} // namespace brelix::support
