// Files, list texts and the command line's JSON keep their decimal point
// under a desktop locale with a decimal comma. The file, settings, station
// list and log tests run again whole under such a locale (the
// files_comma_locale test); the JSON writer is checked here in-process, as
// the command-line program under test may set a locale of its own.
#include <gtest/gtest.h>

#include "files/json_writer.h"
#include "support/comma_locale.h"

TEST(CommaLocale, JsonNumbersKeepTheirDecimalPoint) {
    testing_support::CommaLocale comma;
    ASSERT_TRUE(comma.active());
    JsonWriter j;
    j.BeginObject();
    j.Value("x", 2.5);
    j.EndObject();
    EXPECT_EQ(j.str(), "{\"x\":2.5}");
}
