// The locale items as the user's locale gives them under wine, whose user
// locale is English (United States) when the tests run with LC_ALL=C.
#include <gtest/gtest.h>
#include <windows.h>

#include "locale/country.h"
#include "platform/locale.h"

namespace qv {
namespace {

TEST(Win32Locale, TheUsersItemsAreThoseOfEnglishUnitedStates) {
    ASSERT_EQ(::GetUserDefaultLCID(), 0x0409u) << "the tests expect the en-US user locale";
    const LocaleItems items = QueryLocaleItems();
    EXPECT_EQ(items.dateOrder, "0");
    EXPECT_EQ(items.clock, "0");
    EXPECT_EQ(items.thousandsSeparator, ",");
    EXPECT_EQ(items.dateSeparator, "/");
    EXPECT_EQ(items.timeSeparator, ":");
    EXPECT_EQ(items.am, "AM");
    EXPECT_EQ(items.pm, "PM");
}

// A changed setting of the user's is seen at the next query; the old value
// comes back when the test ends, whatever its outcome.
class UserLocaleSetting {
  public:
    UserLocaleSetting(LCTYPE item, const char* value) : Item(item) {
        char saved[100] = {};
        ::GetLocaleInfoA(LOCALE_USER_DEFAULT, Item, saved, sizeof saved);
        Saved = saved;
        Changed = ::SetLocaleInfoA(LOCALE_USER_DEFAULT, Item, value) != 0;
    }
    ~UserLocaleSetting() {
        if (Changed) ::SetLocaleInfoA(LOCALE_USER_DEFAULT, Item, Saved.c_str());
    }
    bool changed() const { return Changed; }

  private:
    LCTYPE Item;
    std::string Saved;
    bool Changed = false;
};

struct SettingCase {
    LCTYPE item;
    const char* value;
    std::string LocaleItems::*field;
};

class Win32LocaleSetting : public testing::TestWithParam<SettingCase> {};

TEST_P(Win32LocaleSetting, FollowsTheUsersSetting) {
    const SettingCase& c = GetParam();
    const UserLocaleSetting setting(c.item, c.value);
    ASSERT_TRUE(setting.changed());
    EXPECT_EQ(QueryLocaleItems().*c.field, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Items, Win32LocaleSetting,
    testing::Values(SettingCase{LOCALE_STHOUSAND, ".", &LocaleItems::thousandsSeparator},
                    SettingCase{LOCALE_STIME, ".", &LocaleItems::timeSeparator},
                    SettingCase{LOCALE_S1159, "vorm.", &LocaleItems::am}));

// A marker longer than the record's field reaches CountryInfo whole and is cut
// there to nine characters.
TEST(Win32Locale, LongMarkerIsCutToNineCharactersByCountryInfo) {
    const UserLocaleSetting setting(LOCALE_S2359, "afternoon!!");
    ASSERT_TRUE(setting.changed());
    EXPECT_EQ(QueryLocaleItems().pm, "afternoon!!");
    EXPECT_STREQ(CountryInfo().szPm, "afternoon");
}

}  // namespace
}  // namespace qv
