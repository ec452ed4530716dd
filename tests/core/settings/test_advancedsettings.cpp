#include "core/settings/advancedsettings_p.h"
#include "core/settings/registry.h"

#include "settingsfixture.h"

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

class AdvancedSettingsTest : public RegistryTest
{
protected:
    QString stored() const { return ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, SettingsValueName); }
};

} // namespace

TEST_F(AdvancedSettingsTest, StoreComposesTwelveFieldsAndBlanksEmptyTexts)
{
    AdvancedSettings record;
    record.FontName = QStringLiteral("Arial");
    record.FooterText = QStringLiteral("F");
    record.WebsiteLink = QStringLiteral("W");
    record.SaveSettings = 1;
    ASSERT_TRUE(storeSettings(registry, record));
    EXPECT_EQ(stored(), QStringLiteral("Arial**_** **_**F**_**0**_**0**_** **_** **_** **_**W**_** **_**0**_**1"));
    EXPECT_EQ(record.HeaderText, QStringLiteral(" ")) << "the live record keeps the blanks compose wrote";
    EXPECT_EQ(record.FontName, QStringLiteral("Arial"));
}

TEST_F(AdvancedSettingsTest, NothingIsStoredUnlessSaveSettingsIsOne)
{
    AdvancedSettings record;
    record.SaveSettings = 0;
    EXPECT_FALSE(storeSettings(registry, record));
    EXPECT_EQ(stored(), QString());
    EXPECT_EQ(record.HeaderText, QString()) << "the record is unchanged";
}

TEST_F(AdvancedSettingsTest, ParseFillsFieldsByPosition)
{
    AdvancedSettings record;
    record.HeaderText = QStringLiteral("kept");
    record.IncludeNotes = 1;

    parseSettings(readStoredSettingsText(registry), record);
    EXPECT_EQ(record.FontName, QStringLiteral("Times New Roman")) << "nothing stored gives the default font";
    EXPECT_EQ(record.HeaderText, QStringLiteral("kept")) << "missing elements leave fields unchanged";

    parseSettings(QStringLiteral("Whole text without separator"), record);
    EXPECT_EQ(record.FontName, QStringLiteral("Whole text without separator"));
    EXPECT_EQ(record.IncludeNotes, 1);

    parseSettings(QStringLiteral("Arial**_** H **_**F**_**x**_**2.5**_**n1\r\nn2"), record);
    EXPECT_EQ(record.HeaderText, QStringLiteral(" H ")) << "texts are not trimmed";
    EXPECT_EQ(record.IncludeNotes, 0) << "a number that is not one gives 0";
    EXPECT_EQ(record.NotesPosition, 2) << "2.5 rounds half to even";
    EXPECT_EQ(record.NotesText, QStringLiteral("n1\r\nn2"));

    // Empty elements are kept, so positions never shift.
    parseSettings(QStringLiteral("A**_****_**F"), record);
    EXPECT_EQ(record.HeaderText, QString());
    EXPECT_EQ(record.FooterText, QStringLiteral("F"));
}

TEST_F(AdvancedSettingsTest, StoredRecordRoundTripsAndLoads)
{
    AdvancedSettings record;
    record.FontName = QStringLiteral("DejaVu Serif");
    record.NotesText = QStringLiteral("Line one\nLine <b>two</b>");
    record.IncludeNotes = 1;
    record.SumCurrentPageOnly = 1;
    record.SaveSettings = 1;
    ASSERT_TRUE(storeSettings(registry, record));

    AdvancedSettings loaded;
    parseSettings(readStoredSettingsText(registry), loaded);
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i)
        EXPECT_EQ(loaded.fieldText(i), record.fieldText(i)) << AdvancedSettings::fieldName(i).toStdString();

    SettingsState state;
    LoadStoredSettings(registry, state);
    EXPECT_EQ(state.StoredSettingsText, composeSettings(record));
}

TEST_F(AdvancedSettingsTest, ARecordWhoseFieldsWouldShiftIsNeverStored)
{
    struct Case { int field; const char *text; std::optional<int> lost; const char *why; };
    const Case cases[] = {
        {1, "Q4 sales", std::nullopt, "a plain header survives"},
        {1, "a**_**b", 1, "the separator inside a field"},
        {1, "Sales **_", 1, "a piece at the end joins the next separator"},
        {5, "**_****_", 5, "the shortest text the fuzzer found"},
        {1, "3 * 4 = 12", std::nullopt, "stars alone are harmless"},
    };
    for (const Case &c : cases) {
        AdvancedSettings record;
        record.FontName = QStringLiteral("Arial");
        record.SaveSettings = 1;
        record.setFieldText(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(fieldLostInStoredText(record), c.lost) << c.why;
        EXPECT_EQ(storeSettings(registry, record), !c.lost) << c.why;
        EXPECT_EQ(stored().isEmpty(), bool(c.lost)) << c.why << ": nothing stored when a field would be lost";
        SaveRegSetting(registry, QString(), SettingsValueName);
    }
}
