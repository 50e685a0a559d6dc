// The example settings file holds every key of the record at its default, with
// American English's date format: a copy of it changes nothing and logs nothing.
#include <gtest/gtest.h>

#include <string>

#include "settings/inidata.h"
#include "settings/store_fixture.h"

namespace qv {
namespace {

using test::SettingsBytes;
using test::SettingsStore;

TEST_F(SettingsStore, ExampleHoldsEveryKeyAtItsDefault) {
    const std::string example = test::ReadFile(SOURCE_DIR "/doc/QUORVANT.INI.example");
    WriteSettings(example);
    const CountryInfo american(LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"});
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(SettingsBytes(record), SettingsBytes(INIDATA(american)));
    EXPECT_EQ(test::ReadFile(File), example) << "no key was removed";
}

}  // namespace
}  // namespace qv
