#include "core/host/HostError.h"

#include <gtest/gtest.h>
#include <string>

namespace brelix::host {
namespace {

using Kind = HostError::Kind;

TEST(HostError, NumbersTheKindsAUserKnows)
{
    EXPECT_EQ(HostError(Kind::NotFound, {}).number(), 9);
    EXPECT_EQ(HostError(Kind::StartFailed, {}).number(), 429);
    EXPECT_EQ(HostError(Kind::Unavailable, {}).number(), 462);
    for (Kind kind : {Kind::General, Kind::OpenFailed, Kind::SheetProtected, Kind::WrongPassword,
                      Kind::NameRefused, Kind::PrintFailed})
        EXPECT_EQ(HostError(kind, {}).number(), 1004) << static_cast<int>(kind);
}

TEST(HostError, CarriesItsKindAndDescription)
{
    const QString description = QStringLiteral("シート 'Grep結果' がありません");
    try {
        throw HostError(Kind::NotFound, description);
    } catch (const std::exception& e) {
        // Callers that only know std::exception still get the text, as UTF-8.
        EXPECT_EQ(std::string(e.what()), description.toStdString());
        const auto* error = dynamic_cast<const HostError*>(&e);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->kind(), Kind::NotFound);
        EXPECT_EQ(error->description(), description);
    }
}

} // namespace
} // namespace brelix::host
