// Roster maps: CSV lines SOURCE,TARGET,ID.
#include <gtest/gtest.h>

#include "cli/roster_map.h"
#include "support/qt_printers.h"

void PrintTo(const cli::RosterLine& line, std::ostream* os) {
  *os << line.lineNumber << ": " << line.source.toStdString() << " -> " << line.target.toStdString()
      << " as " << line.identifier.toStdString();
}

namespace {

struct MapCase {
  const char* name;
  QByteArray text;
  QList<cli::RosterLine> lines;
};

class RosterMap : public ::testing::TestWithParam<MapCase> {};

TEST_P(RosterMap, Reads) {
  const auto lines = cli::parseRosterMap(GetParam().text);
  ASSERT_TRUE(lines) << lines.error().join('\n').toStdString();
  EXPECT_EQ(*lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, RosterMap,
    ::testing::Values(
        MapCase{"Plain",
                "a.big,b.big,zz99yy8\nc.big,d.big,yy88xx7",
                {{1, "a.big", "b.big", "zz99yy8"}, {2, "c.big", "d.big", "yy88xx7"}}},
        MapCase{"HeaderAndBlankLines",
                "Source,Target,ID\n\n  \na.big,b.big,zz99yy8\n",
                {{4, "a.big", "b.big", "zz99yy8"}}},
        MapCase{"SpacesAroundUnquotedFields",
                " a.big ,\tb.big , zz99yy8 \r\n",
                {{1, "a.big", "b.big", "zz99yy8"}}},
        MapCase{"QuotedFieldsKeptExactly",
                "\" a,b.big\",\"say \"\"hi\"\".big\",\" zz99yy8\"",
                {{1, " a,b.big", "say \"hi\".big", " zz99yy8"}}},
        MapCase{"SpacesAroundQuotedFields",
                " \"a b.big\" , \"c.big\"\t,zz99yy8",
                {{1, "a b.big", "c.big", "zz99yy8"}}},
        MapCase{"LineBreakInQuotes",
                "\"a\nb.big\",c.big,zz99yy8\nd.big,e.big,yy88xx7\n",
                {{1, "a\nb.big", "c.big", "zz99yy8"}, {3, "d.big", "e.big", "yy88xx7"}}},
        MapCase{"ByteOrderMarkAndUtf8",
                "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9.big,b.big,zz99yy8",
                {{1, QString::fromUtf8("\xC3\xA9t\xC3\xA9.big"), "b.big", "zz99yy8"}}},
        MapCase{"EmptyIdentifierIsLeftToSave", "a.big,b.big,", {{1, "a.big", "b.big", ""}}},
        MapCase{"OnlyTheFirstLineCanBeAHeader",
                "a.big,b.big,zz99yy8\nsource,t.big,zz99yy8",
                {{1, "a.big", "b.big", "zz99yy8"}, {2, "source", "t.big", "zz99yy8"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RosterMapFaults, EveryFaultyLineIsNamed) {
  const auto lines =
      cli::parseRosterMap("a.big,b.big\n,b.big,zz99yy8\na,b,c,d\nok.big,ok2.big,zz99yy8\n");
  ASSERT_FALSE(lines);
  EXPECT_EQ(lines.error(), (QStringList{"line 1: 2 fields where SOURCE,TARGET,ID needs 3",
                                        "line 2: SOURCE and TARGET must name a file",
                                        "line 3: 4 fields where SOURCE,TARGET,ID needs 3"}));
  EXPECT_EQ(cli::parseRosterMap("a.big,\"b.big,zz99yy8\n\n").error(),
            QStringList{"line 1: a quote is never closed"});
  EXPECT_EQ(cli::parseRosterMap("\"a.big\"x,b.big,zz99yy8\n").error(),
            QStringList{"line 1: text after a closing quote"});
  // A name in Latin-1 would be read as another name.
  EXPECT_EQ(cli::parseRosterMap("a.big,b.big,zz99yy8\ncaf\xE9.big,d.big,zz99yy8\n").error(),
            QStringList{"line 2: not valid UTF-8"});
  // The system would read "keep.big\0.new" as keep.big.
  EXPECT_EQ(cli::parseRosterMap("a.big,b.big,zz99yy8\nsrc.big,keep.big" + QByteArray(1, '\0') +
                                ".new,zz00001\n")
                .error(),
            QStringList{"line 2: a NUL byte, which no file name can hold"});
}

}  // namespace
