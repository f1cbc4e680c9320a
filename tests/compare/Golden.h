#pragma once

#include "GTestPrinters.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace brelix::compare {

// Compares `actual` with the file of that name in tests/data. With BRELIX_UPDATE_GOLDEN set,
// writes the file instead, for a change that is meant to show (review its diff).
inline void expectGolden(const QString& name, const QString& actual)
{
    QFile file(QStringLiteral(BRELIX_TEST_DATA "/") + name);
    if (qEnvironmentVariableIsSet("BRELIX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    EXPECT_EQ(actual, QString::fromUtf8(file.readAll()));
}

} // namespace brelix::compare
