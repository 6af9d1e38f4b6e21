#include "core/formats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/ini_file.h"
#include "dbf/errors.h"
#include "dbf/number_text.h"

namespace {

TEST(Formats, NumbersAsTheProgramWritesThem) {
    const struct {
        double value;
        const char* general;
        const char* fixed73;
        const char* fixed1;
    } cases[] = {
        {2.5, "2.5", "  2.500", "2.5"},
        {250, "250", "250.000", "250.0"},
        {0, "0", "  0.000", "0.0"},
        {1234567.891, "1234567.891", "1234567.891", "1234567.9"},
        {-3.14159, "-3.14159", " -3.142", "-3.1"},
        {43.333333333333336, "43.3333333333333", " 43.333", "43.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::formatGeneral(c.value), c.general);
        EXPECT_EQ(core::formatFixed73(c.value), c.fixed73);
        EXPECT_EQ(core::formatFixed1(c.value), c.fixed1);
    }
}

TEST(Formats, ShortDateHasTwoDigitYearAndNoLeadingZeros) {
    EXPECT_EQ(core::shortDate(core::dateValue(2011, 7, 9)), "11/7/9");
    EXPECT_EQ(core::shortDate(core::dateValue(2005, 12, 31)), "05/12/31");
    EXPECT_EQ(core::shortDate(core::dateValue(2024, 3, 1)), "24/3/1");
    EXPECT_DOUBLE_EQ(core::dateValue(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(core::dateValue(2000, 1, 1), 36526);
}

TEST(IniFile, KeepsValuesAsStoredAndWritesCrlf) {
    const auto path = std::filesystem::temp_directory_path() / "halvora-ini-test.ini";
    std::filesystem::remove(path);
    auto ini = core::IniFile::load(path);
    EXPECT_FALSE(ini.value("SYSTEM", "DATA_PATH"));
    ini.setValue("SYSTEM", "DRV", "C:\\HALVORA");
    ini.setValue("SYSTEM", "DATA_PATH", "data\\");
    ini.save(path);
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, "[SYSTEM]\r\nDRV=C:\\HALVORA\r\nDATA_PATH=data\\\r\n");
    const auto again = core::IniFile::load(path);
    EXPECT_EQ(again.value("system", "data_path"), "data\\");
    std::filesystem::remove(path);
}

TEST(IniFile, SavingKeepsEveryLineItDoesNotChange) {
    const auto path = std::filesystem::temp_directory_path() / "halvora-ini-lines.ini";
    {
        std::ofstream(path, std::ios::binary)
            << "; written by hand\r\nLOOSE=1\r\n\r\n[OTHER]\r\nA = 2\r\n[SYSTEM]\r\n"
               "; the data\r\nDATA_PATH=data\\\r\nEXTRA=x\r\n\r\n[LAST]\r\nB=3\r\n";
    }
    auto ini = core::IniFile::load(path);
    EXPECT_EQ(ini.value("OTHER", "a"), "2");
    EXPECT_FALSE(ini.value("SYSTEM", "LOOSE"));
    ini.setValue("SYSTEM", "DATA_PATH", "DATA2\\");
    ini.setValue("SYSTEM", "DRV", "C:\\H");
    ini.setValue("NEW", "K", "v");
    ini.save(path);
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text,
              "; written by hand\r\nLOOSE=1\r\n\r\n[OTHER]\r\nA = 2\r\n[SYSTEM]\r\n"
              "; the data\r\nDATA_PATH=DATA2\\\r\nEXTRA=x\r\nDRV=C:\\H\r\n\r\n[LAST]\r\nB=3\r\n"
              "\r\n[NEW]\r\nK=v\r\n");
    std::filesystem::remove(path);
}

}  // namespace

namespace core {
namespace {

TEST(DateText, ADayOfTheCalendarReadsAsItsDateValueAndNoOtherDayDoes) {
    const struct {
        const char* text;
        double value;  // 0: refused
    } cases[] = {
        {"11/7/9", dateValue(2011, 7, 9)},
        {" 2011/7/09 ", dateValue(2011, 7, 9)},
        {"99/12/31", dateValue(1999, 12, 31)},
        {"12/2/29", dateValue(2012, 2, 29)},  // a leap year
        {"11/2/29", 0},
        {"11/2/31", 0},  // would be 11/3/3
        {"11/13/1", 0},
        {"11/0/1", 0},
        {"11/7", 0},
        {"11/7/9/1", 0},
        {"a/7/9", 0},
        {"11-7-9", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.value == 0) {
            try {
                dateValueOfText(c.text);
                ADD_FAILURE() << "taken";
            } catch (const dbf::ConversionError& e) {
                EXPECT_EQ(std::string(e.what()),
                          "'" + std::string(dbf::trimBlanks(c.text)) + "' is not a valid date");
            }
        } else {
            EXPECT_EQ(dateValueOfText(c.text), c.value);
            EXPECT_EQ(dateValueOfText(shortDate(c.value)), c.value);  // and back
        }
    }
    EXPECT_FALSE(dateValueOfText("  ").has_value());
}

}  // namespace
}  // namespace core
