#include "core/host/HostError.h"

#include <gtest/gtest.h>
#include <string>

namespace brelix::host {
namespace {

using Kind = HostError::Kind;

TEST(HostError, CarriesItsKindNumberAndDescription)
{
    // The numbers the error report shows: three failures a user acts on, 1004 for the rest.
    const std::pair<Kind, int> numbers[] = {
        {Kind::NotFound, 9},         {Kind::StartFailed, 429},  {Kind::Unavailable, 462},
        {Kind::General, 1004},       {Kind::OpenFailed, 1004},  {Kind::SheetProtected, 1004},
        {Kind::WrongPassword, 1004}, {Kind::NameRefused, 1004}, {Kind::PrintFailed, 1004},
    };
    const QString description = QStringLiteral("シート 'Grep結果' がありません");
    for (const auto& [kind, number] : numbers) {
        const HostError error(kind, description);
        EXPECT_EQ(error.kind(), kind);
        EXPECT_EQ(error.number(), number) << static_cast<int>(kind);
        EXPECT_EQ(error.description(), description);
        // Callers that only know std::exception still get the text, as UTF-8.
        EXPECT_EQ(std::string(error.what()), description.toStdString());
    }
}

} // namespace
} // namespace brelix::host
