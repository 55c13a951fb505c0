#include "core/map/HabitatClasses.h"

#include "support/NamedCase.h"

#include <gtest/gtest.h>

namespace {

using namespace orvalis;
using namespace orvalis::test;

struct ListCase : NamedCase {
    const char* text;
    std::vector<std::int64_t> values;
    std::vector<std::int64_t> singly;
};

class ClassListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ClassListTest, ReadsEveryClassOnce)
{
    const ListCase& c = GetParam();
    HabitatClasses classes;
    std::string error;
    ASSERT_TRUE(classes.parse(c.text, &error)) << error;
    EXPECT_EQ(classes.values(), c.values);
    EXPECT_EQ(classes.listedSingly(), c.singly);
    for (std::int64_t v : c.values)
        EXPECT_TRUE(classes.contains(v)) << v;
    if (c.values.front() > INT64_MIN) {
        EXPECT_FALSE(classes.contains(c.values.front() - 1));
    }
    if (c.values.back() < INT64_MAX) {
        EXPECT_FALSE(classes.contains(c.values.back() + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ClassListTest,
    ::testing::Values(ListCase{"Single", "41", {41}, {41}}, ListCase{"Range", "41-43", {41, 42, 43}, {}},
                      ListCase{"Mixed", "11,41-43,90", {11, 41, 42, 43, 90}, {11, 90}},
                      ListCase{"Blanks", " 11 ,\t41 - 43 , 90 ", {11, 41, 42, 43, 90}, {11, 90}},
                      ListCase{"UnsortedAndRepeated", "90,41-42,41,42-43", {41, 42, 43, 90}, {41, 90}},
                      ListCase{"NegativeRange", "-5--3", {-5, -4, -3}, {}},
                      ListCase{"RangeAcrossZero", "-2-1", {-2, -1, 0, 1}, {}},
                      ListCase{"NegativeSingle", "-7, 0", {-7, 0}, {-7, 0}},
                      ListCase{"OneClassRange", "5-5", {5}, {}},
                      ListCase{"Extremes", "9223372036854775807,-9223372036854775808",
                               {INT64_MIN, INT64_MAX}, {INT64_MIN, INT64_MAX}}),
    CaseName());

struct BadListCase : NamedCase {
    const char* text;
    const char* says;
};

class BadClassListTest : public ::testing::TestWithParam<BadListCase> {};

TEST_P(BadClassListTest, SaysWhatIsWrongAndHowToWriteIt)
{
    const BadListCase& c = GetParam();
    HabitatClasses classes;
    ASSERT_TRUE(classes.parse("1", nullptr));
    std::string error;
    EXPECT_FALSE(classes.parse(c.text, &error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_NE(error.find("FIRST-LAST"), std::string::npos) << error;
    EXPECT_TRUE(classes.empty()) << "a refused list keeps nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BadClassListTest,
    ::testing::Values(BadListCase{"Empty", "", "no habitat class"}, BadListCase{"OnlyBlanks", "  ", "no habitat class"},
                      BadListCase{"EmptyItem", "41,,43", "item 2 is empty"},
                      BadListCase{"TrailingComma", "41,", "item 2 is empty"},
                      BadListCase{"Reversed", "43-41", "\"43-41\" runs backwards"},
                      BadListCase{"ReversedNegative", "-3--5", "runs backwards"},
                      BadListCase{"Word", "forest", "\"forest\" is not a whole number"},
                      BadListCase{"Fraction", "41.5", "\"41.5\" is not a whole number"},
                      BadListCase{"PlusSign", "+41", "is not a whole number"},
                      BadListCase{"LoneMinus", "-", "is not a whole number"},
                      BadListCase{"OpenRange", "41-", "is not a whole number"},
                      BadListCase{"TwoRanges", "1-2-3", "is not a whole number"},
                      BadListCase{"TooLarge", "99999999999999999999", "is not a whole number"},
                      BadListCase{"HugeRange", "0-1000000", "more than 1000000 classes"},
                      BadListCase{"HugeTogether", "0-600000,700000-1200000", "more than 1000000 classes"},
                      BadListCase{"FullRange", "-9223372036854775808-9223372036854775807", "more than 1000000"}),
    CaseName());

}  // namespace
