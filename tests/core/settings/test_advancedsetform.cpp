#include "core/base/messages.h"
#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/filedialog/filechooser_p.h"
#include "core/links/linkactivation_p.h"
#include "core/settings/advancedsetform_p.h"
#include "core/settings/advancedsettings_p.h"

#include "settingsfixture.h"

using namespace zuvexal;

namespace {

class AdvancedSetFormTest : public RegistryTest
{
protected:
    void SetUp() override
    {
        QObject::connect(&form, &AdvancedSetForm::hideRequested, [this] { ++hidden; });
    }
    SharedValues values;
    SettingsState settings;
    LinkState links;
    Messages messages;
    AdvancedSetForm form{values, settings, registry, links, messages};
    int hidden = 0;
};

} // namespace

TEST_F(AdvancedSetFormTest, ApplyCopiesTheControlsIntoTheRecord)
{
    form.ensureLoaded();
    EXPECT_FALSE(form.AdvSettings());
    EXPECT_EQ(form.cboFontName, QStringLiteral("Times New Roman")) << "nothing stored";
    form.cboFontName = QStringLiteral("  DejaVu Sans");
    form.txtHeaderFooter = {QStringLiteral("  Q4 sales  "), QStringLiteral("(c) ACME")};
    form.txtLink = {QStringLiteral(" https://acme.example.com "), QString()};
    form.chkNotes = 1;
    form.OptNotesPosition = 1;
    form.txtNotes = QStringLiteral(" line one\r\nline two ");
    form.OptPages = 1;
    form.chkSave = 0;
    form.cmdApply_Click();

    const AdvancedSettings &record = settings.Settings;
    EXPECT_TRUE(form.AdvSettings());
    EXPECT_EQ(record.FontName, QStringLiteral("  DejaVu Sans")) << "the font name is taken as it stands";
    EXPECT_EQ(record.HeaderText, QStringLiteral("Q4 sales")) << "other texts are trimmed";
    EXPECT_EQ(record.WebsiteLink, QStringLiteral("https://acme.example.com"));
    EXPECT_EQ(record.NotesText, QStringLiteral("line one\r\nline two"));
    EXPECT_EQ(record.IncludeNotes, 1);
    EXPECT_EQ(record.NotesPosition, 1);
    EXPECT_EQ(record.SumCurrentPageOnly, 1);
    EXPECT_EQ(record.SaveSettings, 0);
    EXPECT_EQ(hidden, 1);

    form.cboFontName.clear();
    EXPECT_TRUE(form.apply());
    EXPECT_EQ(record.FontName, QStringLiteral("Times New Roman")) << "an empty font box gives the default";
    EXPECT_EQ(hidden, 1) << "an unattended run applies without hiding the window";

    form.SaveUserSettings();
    EXPECT_EQ(ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, SettingsValueName), QString())
        << "Save settings unchecked: nothing stored";
}

TEST_F(AdvancedSetFormTest, CancelKeepsTheRecordAndTheTypedTexts)
{
    form.ensureLoaded();
    form.txtHeaderFooter[0] = QStringLiteral("applied");
    form.cmdApply_Click();
    form.txtHeaderFooter[0] = QStringLiteral("typed, then cancelled");
    form.CancelButton_Click();
    EXPECT_FALSE(form.AdvSettings());
    EXPECT_EQ(settings.Settings.HeaderText, QStringLiteral("applied"));
    EXPECT_EQ(form.txtHeaderFooter[0], QStringLiteral("typed, then cancelled"));
    EXPECT_EQ(hidden, 2);
}

TEST_F(AdvancedSetFormTest, LoadShowsTheStoredRecord)
{
    AdvancedSettings stored;
    stored.FontName = QStringLiteral("Garamond Premier");
    stored.HeaderText = QStringLiteral("Header");
    stored.IncludeNotes = 1;
    stored.NotesPosition = 1;
    stored.SumCurrentPageOnly = 1;
    stored.SaveSettings = 1;
    storeSettings(registry, stored);

    form.ensureLoaded();
    // A font the machine lacks stays in the box, so Apply keeps it.
    EXPECT_EQ(form.cboFontNameIndex, -1);
    EXPECT_EQ(form.cboFontName, QStringLiteral("Garamond Premier"));
    EXPECT_EQ(form.txtHeaderFooter[0], QStringLiteral("Header"));
    EXPECT_EQ(form.chkNotes, 1);
    EXPECT_EQ(form.OptNotesPosition, 1);
    EXPECT_EQ(form.OptPages, 1);
    EXPECT_EQ(form.chkSave, 1);
    form.cmdApply_Click();
    EXPECT_EQ(settings.Settings.FontName, QStringLiteral("Garamond Premier"));
    form.SaveUserSettings();
    EXPECT_TRUE(ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, SettingsValueName)
                    .startsWith(QStringLiteral("Garamond Premier**_**Header**_**")));
}

TEST_F(AdvancedSetFormTest, LogoAndSignatureArePicturesChosenThroughTheControl)
{
    values.AppFolder = folder.path();
    test::writeAll(folder.file(QStringLiteral("Logo.JPG")), "jpeg");
    test::writeAll(folder.file(QStringLiteral("sign.bmp")), "bmp");
    ZuVexal control;
    form.myfControl = &control;
    test::ScriptedWindows windows;
    windows.installOn(contextOf(control));
    struct Case { int index; const char *chosen; const char *label; const char *why; };
    const Case cases[] = {
        {0, "Logo.JPG", "Logo.JPG", "a picture in capitals is accepted"},
        {1, "sign.bmp", "", "a bitmap is not offered as a signature"},
        {0, "", "", "cancelling clears the logo"},
    };
    for (const Case &c : cases) {
        QString caption;
        windows.onFileChooser = [&](FileChooser &chooser) {
            caption = chooser.caption;
            EXPECT_EQ(chooser.dir1Path(), folder.file(QStringLiteral("Pictures/"))) << "starts in Pictures/";
            EXPECT_EQ(chooser.combo1Index(), 2) << "picture files";
            chooser.chosenPath = *c.chosen ? folder.file(QString::fromUtf8(c.chosen)) : QString();
            chooser.unload();
            return true;
        };
        form.lblLogo[size_t(c.index)] = QStringLiteral("old");
        form.cmdLogo_Click(c.index);
        const QString expected = *c.label ? folder.file(QString::fromUtf8(c.label)) : QString();
        EXPECT_EQ(form.lblLogo[size_t(c.index)], expected) << c.why;
        EXPECT_EQ(caption, c.index == 0 ? QStringLiteral("Select a Jpeg or Gif or Png image to use as Logo in Report")
                                        : QStringLiteral("Select a Jpeg or Gif or Png image to use as Signature in Report"));
    }
}

TEST_F(AdvancedSetFormTest, ApplyRefusesAFieldTheStoredTextWouldLose)
{
    struct Recorder final : MessagePresenter
    {
        void show(const QString &, const QString &text, Icon) override { shown << text; }
        QStringList shown;
    } recorder;
    messages.setPresenter(&recorder);
    form.ensureLoaded();
    form.txtHeaderFooter = {QStringLiteral("Sales **_"), QStringLiteral("end")};
    form.chkSave = 1;
    form.cmdApply_Click();
    EXPECT_FALSE(form.AdvSettings()) << "not applied";
    EXPECT_EQ(settings.Settings.HeaderText, QString());
    EXPECT_EQ(hidden, 0) << "the window stays open";
    ASSERT_EQ(recorder.shown.size(), 1);
    EXPECT_TRUE(recorder.shown[0].startsWith(QStringLiteral("HeaderText may not contain **_**"))) << recorder.shown[0].toStdString();

    form.chkSave = 0;
    form.cmdApply_Click();
    EXPECT_TRUE(form.AdvSettings()) << "a record that is not stored may hold any text";
    messages.setPresenter(nullptr);
}
