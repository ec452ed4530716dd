// A host's translator reaches every window: the texts of the windows and
// those the core hands them come out in the host's language.
#include "ui/about/aboutdialog.h"
#include "ui/advancedset/advancedwindow.h"
#include "ui/control/zuvexalwidget.h"
#include "ui/propertypage/propertypagedialog_p.h"
#include "ui/reportform/reportwindow.h"
#include "ui/windows.h"

#include "reportfixture.h"
#include "uisupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

#include <map>

using namespace zuvexal;
using zuvexal::test::whileShown;

namespace {

// Every window a host can open, each run through `steps` while it is up;
// the message box is one the core shows over a control at design time.
class WindowsTest : public test::ReportTest
{
protected:
    void inEachWindow(const std::function<void(const QString &window, QWidget *shown)> &steps)
    {
        {
            LinkState links;
            ui::AboutDialog about(links);
            about.show();
            steps(about.objectName(), &about);
        }
        {
            ui::PropertyPageDialog page;
            page.show();
            steps(page.objectName(), &page);
        }
        {
            ui::AdvancedWindow window(advancedSet());
            whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) { steps(w->objectName(), w); });
            window.showModal();
        }
        {
            ui::ReportWindow window(load(23, 10));
            whileShown([&](QDialog *w) { steps(w->objectName(), w); });
            window.showModal();
        }
        {
            ui::installWindows(*control);
            whileShown(QStringLiteral("VexalPhotoTabStrip"), [&](QDialog *w) { steps(w->objectName(), w); });
            control->SupplyFileName();
        }
        {
            ui::ZuVexalWidget widget;
            widget.setUserMode(false);
            // Message boxes have no object name.
            whileShown(QString(), [&](QDialog *w) { steps(QStringLiteral("message box"), w); });
            QString path = folder.path();
            widget.setApplicationPath(path);
        }
    }
};

class TranslatedWindowsTest : public WindowsTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_german.load(QStringLiteral(ZUVEXAL_TEST_TRANSLATION)));
        QCoreApplication::installTranslator(&m_german);
        WindowsTest::SetUp();
    }
    void TearDown() override
    {
        WindowsTest::TearDown();
        QCoreApplication::removeTranslator(&m_german);
    }

private:
    QTranslator m_german;
};

// Translates each message of the committed template into its source text
// in brackets: a shown text without them did not come through a message a
// translator of the template can translate.
class TemplateTranslator final : public QTranslator
{
public:
    explicit TemplateTranslator(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("source"))
                m_messages.insert(context + QLatin1Char('|') + sourceText(xml));
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }

    bool isEmpty() const override { return m_messages.isEmpty(); }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const QString text = QString::fromUtf8(source);
        if (!m_messages.contains(QString::fromUtf8(context) + QLatin1Char('|') + text))
            return {};
        return QLatin1Char('[') + text + QLatin1Char(']');
    }

private:
    // lupdate writes a control character as <byte value="xd"/>, in hex
    // after an "x", else in decimal.
    static QString sourceText(QXmlStreamReader &xml)
    {
        QString text;
        while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != QLatin1String("source")) {
            if (xml.isCharacters()) {
                text += xml.text();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
                const QStringView value = xml.attributes().value(QLatin1String("value"));
                text += value.startsWith(QLatin1Char('x')) ? QChar(value.mid(1).toUInt(nullptr, 16))
                                                           : QChar(value.toUInt());
            }
        }
        return text;
    }

    QSet<QString> m_messages;
};

// The texts a user reads in a window: its title, the visible labels,
// buttons and group titles, tool tips and the names screen readers say;
// the skipped widgets show data, not texts of the window.
QStringList shownTexts(QWidget *window, const QSet<QString> &skipped)
{
    QStringList texts{window->windowTitle()};
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || skipped.contains(widget->objectName()))
            continue;
        // Qt's own buttons: the host loads Qt's translations for them.
        if (qobject_cast<QDialogButtonBox *>(widget->parentWidget()))
            continue;
        texts << widget->toolTip() << widget->accessibleName();
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

TEST_F(TranslatedWindowsTest, EachWindowShowsTheHostsTranslation)
{
    // The window, its object ("" for the window itself), the property shown
    // and the German text of tests/ui/translation_de.ts.
    struct Case { const char *window; const char *object; const char *property; const char *shown; const char *why; };
    const Case cases[] = {
        {"VexalAbout", "", "windowTitle", "Quorvane-Vexal-ActiveX-Steuerelement", "the window's own text"},
        {"VexalAbout", "OKButton", "text", "Schließen", "a button"},
        {"VexalAbout", "lblVersion", "text", "Fassung 2.0", "the core's version line, numbers filled in after"},
        {"VexalProps", "", "windowTitle", "ZuVexal-Eigenschaften", "a published name is still a text"},
        {"VexalProps", "lblInterval", "text", "Intervall:", "a field's label"},
        {"VexalProps", "chkEnabled", "text", "Aktiviert", "a check box"},
        {"VexalAdvancedSet", "", "windowTitle", "Erweiterte Einstellungen für den Bericht", "the title"},
        {"VexalAdvancedSet", "chkNotes", "text", "Notizen aufnehmen", "a check box"},
        {"VexalAdvancedSet", "Frame2", "title", "Summen über", "a group's title"},
        {"VexalAdvancedSet", "cmdApply", "text", "Übernehmen", "a button"},
        {"VexalReportForm", "", "windowTitle", "Berichtsformular von ACME",
         "the core's caption, the organisation where the translation puts it"},
        {"VexalReportForm", "lblPage", "text", "Seite 1 von 3", "the core's page label"},
        {"VexalReportForm", "cmdGenerate", "text", "&Erzeugen", "a button with its mnemonic"},
        {"VexalReportForm", "Frame2", "title", "Bericht", "a group's title"},
        {"VexalReportForm", "MSHFlexGrid1", "accessibleName", "Datensätze der Seite", "what a screen reader says"},
        {"VexalPhotoTabStrip", "", "windowTitle", "Dateinamen angeben",
         "the default caption, translated when shown, not where the host passes it"},
        {"VexalPhotoTabStrip", "chkVerify", "text", "Prüfen, ob die Datei existiert", "a check box"},
        {"VexalPhotoTabStrip", "cmdOk", "text", "Annehmen", "a button"},
        {"VexalPhotoTabStrip", "Combo1", "currentText", "Alle Dateien", "the core's file type names"},
        {"message box", "", "text", "Den Anwendungspfad im Code setzen,\ndamit er zur Laufzeit gilt.",
         "a message of the core"},
        {"message box", "", "windowTitle", "ZuVexal", "the product's name stays"},
    };
    const auto key = [](const Case &c) { return QStringLiteral("%1/%2/%3").arg(c.window, c.object, c.property); };
    std::map<QString, QString> shown;
    inEachWindow([&](const QString &window, QWidget *w) {
        for (const Case &c : cases) {
            if (window != QLatin1String(c.window))
                continue;
            QObject *object = *c.object ? w->findChild<QObject *>(QLatin1String(c.object)) : w;
            ASSERT_NE(object, nullptr) << c.window << ' ' << c.object;
            shown[key(c)] = object->property(c.property).toString();
        }
    });
    for (const Case &c : cases)
        EXPECT_EQ(shown[key(c)], QString::fromUtf8(c.shown)) << key(c).toStdString() << ": " << c.why;
}

TEST_F(WindowsTest, EveryTextAWindowShowsIsInTheTranslationTemplate)
{
    TemplateTranslator marking(QStringLiteral(ZUVEXAL_SOURCE_DIR "/translations/zuvexal.ts"));
    QCoreApplication::installTranslator(&marking);
    // Texts that are not words to translate.
    const QSet<QString> kept{
        QStringLiteral("<h2>ZuVexal</h2>"),  // the product's name
        QStringLiteral("ZuVexal"),           // the message box's title: the product's name
    };
    const QSet<QString> data{
        QStringLiteral("lblZu0"), QStringLiteral("lblZu1"),  // the product's web and mail address
        QStringLiteral("lblFolder"),                            // the folder shown
    };
    std::map<QString, QStringList> untranslated;
    inEachWindow([&](const QString &window, QWidget *w) {
        QStringList &found = untranslated[window];
        for (const QString &text : shownTexts(w, data)) {
            if (!kept.contains(text) && !(text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'))))
                found << text;
        }
    });
    QCoreApplication::removeTranslator(&marking);
    EXPECT_EQ(untranslated.size(), 6u) << "every window was shown";
    for (const auto &[window, texts] : untranslated)
        EXPECT_TRUE(texts.isEmpty()) << window.toStdString() << ": " << texts.join(QLatin1String(" / ")).toStdString();
}
