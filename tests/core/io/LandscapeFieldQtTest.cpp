// The reader is plain C++, but its fields must read exactly as QString::toInt reads them.
#include "core/io/LandscapeFile.h"

#include <QString>
#include <gtest/gtest.h>

#include <random>

TEST(LandscapeFieldAgainstQt, RandomFieldsReadAsQStringToInt)
{
    const std::string alphabet = std::string("0123456789+- \t\r\v\f.,eExX_") + "\xA0\x85\xB2\xB9\xBD\xFF";
    std::mt19937 gen(7);
    for (int i = 0; i < 200000; ++i) {
        int len = static_cast<int>(gen() % 14);
        std::string field;
        for (int k = 0; k < len; ++k) {
            // Mostly digits, so that many fields are numbers near the edges of the rules.
            field.push_back(gen() % 3 ? static_cast<char>('0' + gen() % 10) : alphabet[gen() % alphabet.size()]);
        }
        int expected = QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size())).toInt();
        ASSERT_EQ(orvalis::parseLandscapeField(field), expected) << '"' << field << '"';
    }
}

TEST(LandscapeFieldAgainstQt, EveryLatin1CharacterAroundANumber)
{
    for (int c = 1; c < 256; ++c) {
        for (const std::string& field : {std::string(1, char(c)) + "12", "12" + std::string(1, char(c)),
                                         "1" + std::string(1, char(c)) + "2", std::string(1, char(c))}) {
            int expected = QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size())).toInt();
            ASSERT_EQ(orvalis::parseLandscapeField(field), expected) << "character " << c;
        }
    }
}

TEST(LandscapeFieldAgainstQt, BoundsOfThirtyTwoBits)
{
    for (long long v : {2147483646LL, 2147483647LL, 2147483648LL, -2147483647LL, -2147483648LL, -2147483649LL,
                        9223372036854775807LL}) {
        std::string field = std::to_string(v);
        EXPECT_EQ(orvalis::parseLandscapeField(field), QString::fromStdString(field).toInt()) << field;
    }
    EXPECT_EQ(orvalis::parseLandscapeField("99999999999999999999999"), QString("99999999999999999999999").toInt());
}
