#pragma once
// Pins the locale settings the grid routines read, and puts the previous ones back afterwards.
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

class GridFormatTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings;
        UseSeparators('.', ',');
        FormatSettings.DateSeparator = '/';
        FormatSettings.TimeSeparator = ':';
        FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    }
    void TearDown() override { FormatSettings = FSaved; }

    static void UseSeparators(char Decimal, char Thousand) {
        FormatSettings.DecimalSeparator = QChar(Decimal);
        FormatSettings.ThousandSeparator = QChar(Thousand);
    }

private:
    TFormatSettings FSaved;
};
