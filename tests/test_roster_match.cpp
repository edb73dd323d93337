// Which file of a folder goes into which archive of a roster.
#include <gtest/gtest.h>

#include "portrait/roster_match.h"
#include "support/qt_printers.h"

namespace {

using Pair = portrait::RosterMatch::Pair;
using Clash = portrait::RosterMatch::Clash;

struct MatchCase {
  const char* name;
  QStringList files;
  QStringList keys;
  QList<Pair> pairs;
  QList<qsizetype> withoutFile;
  QList<Clash> clashes;
  QStringList filesWithoutArchive;
};

class RosterMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RosterMatchTest, PairsEachArchiveWithTheOneFileNamedForIt) {
  const MatchCase& c = GetParam();
  const auto match = portrait::matchRoster(
      c.files, c.keys, {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("fsh")});
  EXPECT_EQ(match.pairs, c.pairs);
  EXPECT_EQ(match.withoutFile, c.withoutFile);
  EXPECT_EQ(match.clashes, c.clashes);
  EXPECT_EQ(match.filesWithoutArchive, c.filesWithoutArchive);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RosterMatchTest,
    ::testing::Values(
        MatchCase{"ByStem",
                  {"pl1.fsh", "pl0.png", "notes.txt"},
                  {"pl0", "pl1"},
                  {{0, "pl0.png"}, {1, "pl1.fsh"}},
                  {},
                  {},
                  {}},
        MatchCase{
            "IdentifierInAnyCase", {"AB12CD3.JPG"}, {"ab12cd3"}, {{0, "AB12CD3.JPG"}}, {}, {}, {}},
        MatchCase{"OnlyTheLastExtensionGoes",
                  {"pl0.old.png", "pl0.png"},
                  {"pl0"},
                  {{0, "pl0.png"}},
                  {},
                  {},
                  {"pl0.old.png"}},
        MatchCase{"NoFileForAnArchive", {"other.png"}, {"pl0"}, {}, {0}, {}, {"other.png"}},
        MatchCase{"TwoFilesForOneArchiveAreRefused",
                  {"pl0.png", "pl1.png", "PL0.jpg"},
                  {"pl0", "pl1"},
                  {{1, "pl1.png"}},
                  {},
                  {{0, {"PL0.jpg", "pl0.png"}}},
                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
