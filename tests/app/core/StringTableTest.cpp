#include "StringTable.h"

#include <gtest/gtest.h>

using zq::StringTable;

TEST(StringTable, ParsesIdentifiersTextsAndLineBreaks)
{
    StringTable table;
    table.Parse("# comment\r\n131\tAll\r\n\n251\tNo recordings.\\nInsert a card.\n57344\tZQ481K Viewer\n");
    EXPECT_EQ(table.Count(), 3);
    EXPECT_EQ(table.Text(131), "All");
    EXPECT_EQ(table.Text(251), "No recordings.\nInsert a card.");
    EXPECT_EQ(table.Text(57344), "ZQ481K Viewer");
}

TEST(StringTable, SkipsMalformedLinesAndKeepsUtf8)
{
    StringTable table;
    table.Parse("abc\tnot a number\n\tno id\n132 without tab\n133\t무한\n134\t\n");
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Text(133), QStringLiteral("무한"));
    EXPECT_TRUE(table.Contains(134));
    EXPECT_TRUE(table.Text(134).isEmpty());
    EXPECT_FALSE(table.Contains(132));
}

TEST(StringTable, MissingFileIsNoTable)
{
    StringTable table;
    EXPECT_FALSE(table.Load("/nonexistent/English.lng"));
    EXPECT_EQ(table.Count(), 0);
}
