#include <QHelpEngineCore>
#include <QHelpLink>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QString Qch = QStringLiteral(ZUVEXAL_MANUAL_QCH);
const QString Namespace = QStringLiteral(ZUVEXAL_QHP_NAMESPACE);

// A help collection of its own with the manual registered, as Qt Creator's
// Add... or `assistant -register` make one.
class Manual : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        engine.setReadOnly(false);
        ASSERT_TRUE(engine.setupData()) << qPrintable(engine.error());
        ASSERT_TRUE(engine.registerDocumentation(Qch)) << qPrintable(engine.error());
    }

    QString page(const QString &file) const
    {
        const QUrl url(QStringLiteral("qthelp://%1/zuvexal/%2").arg(Namespace, file));
        return QString::fromUtf8(engine.fileData(url));
    }

    QTemporaryDir folder;
    QHelpEngineCore engine{folder.filePath(QStringLiteral("collection.qhc"))};
};

TEST_F(Manual, RegistersUnderTheNamespaceOfItsSoname)
{
    // One manual per SONAME: a 3.x manual registers beside this one.
    EXPECT_EQ(QHelpEngineCore::namespaceName(Qch), QStringLiteral("org.zuvexal.zuvexal.2"));
    EXPECT_EQ(engine.registeredDocumentations(), QStringList{Namespace});
}

TEST_F(Manual, PagesNameTheHeaderAHostIncludes)
{
    struct Case
    {
        const char *file;
        const char *expected;
    };
    const Case cases[] = {
        // The start page says what the manual covers.
        {"index.html", "ZuVexal reference manual"},
        // Class pages show the Qt-style header, not the source file name.
        {"classzuvexal_1_1ZuVexal.html", "#include &lt;ZuVexal/ZuVexal&gt;"},
        {"classzuvexal_1_1RecordSet.html", "#include &lt;ZuVexal/RecordSet&gt;"},
        {"classzuvexal_1_1ui_1_1ZuVexalWidget.html", "#include &lt;ZuVexal/ZuVexalWidget&gt;"},
        // Properties are listed with the control's methods.
        {"classzuvexal_1_1ZuVexal.html", "MaxRecsPerPage"},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(page(QString::fromLatin1(c.file)).contains(QLatin1String(c.expected)))
            << c.file << " lacks " << c.expected;
}

TEST_F(Manual, ContextHelpFindsClassesAndMembersByTheirNames)
{
    struct Case
    {
        const char *identifier;
        const char *page;
    };
    // Qt Creator's F1 asks for the qualified name under the cursor.
    const Case cases[] = {
        {"zuvexal::ZuVexal", "classzuvexal_1_1ZuVexal.html"},
        {"zuvexal::ZuVexal::AutoZuReporter", "classzuvexal_1_1ZuVexal.html"},
        {"zuvexal::ui::ZuVexalWidget", "classzuvexal_1_1ui_1_1ZuVexalWidget.html"},
        {"zuvexal::RecordSet::getRows", "classzuvexal_1_1RecordSet.html"},
        // An overloaded member is found too.
        {"zuvexal::ZuVexal::setApplicationPath", "classzuvexal_1_1ZuVexal.html"},
    };
    for (const Case &c : cases) {
        const QList<QHelpLink> links = engine.documentsForIdentifier(QString::fromLatin1(c.identifier));
        ASSERT_EQ(links.size(), 1) << c.identifier;
        EXPECT_EQ(links.front().url.fileName(), QString::fromLatin1(c.page)) << c.identifier;
    }
}

} // namespace
