#pragma once
// Shared helpers of the engine tests: dates written as the tables read them.

#include "engine/fixedtext.h"
#include "report/errortext.h"

#include <gtest/gtest.h>

// "dd.mm.yyyy" or "yyyy-mm-dd" as a serial; fails the test for anything else.
inline TDateTime day(const char *text) {
    const std::optional<TDateTime> serial = ParseDayDate(QString::fromLatin1(text));
    EXPECT_TRUE(serial.has_value()) << text;
    return serial.value_or(EmptyDate);
}
