// A probe loaded into a real Qt Designer next to ZuVexal's plugin. Once
// Designer has opened the form given on its command line, it checks the
// control as Designer holds it: design mode, the widget box entry, the
// "Edit ZuVexal Properties..." task menu and what Designer saves. Each
// check is a line "ok ..." or "FAILED ..." in the file that
// ZUVEXAL_DESIGNER_PROBE names; then Designer is ended.
#include <ZuVexal/ZuVexalWidget>

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QDesignerWidgetBoxInterface>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>

namespace {

class Probe
{
public:
    explicit Probe(QDesignerFormEditorInterface *core) : m_core(core) {}

    void check(bool ok, const QString &what) { m_lines << (ok ? QStringLiteral("ok ") : QStringLiteral("FAILED ")) + what; }

    void run(QDesignerFormWindowInterface *form)
    {
        auto *control = form->mainContainer()->findChild<zuvexal::ui::ZuVexalWidget *>(QStringLiteral("ZuVexal1"));
        check(control != nullptr, QStringLiteral("the form's control was created by the plugin"));
        if (!control)
            return;
        check(!control->userMode(), QStringLiteral("the control runs in design mode"));
        check(control->DeveloperCompany() == QLatin1String("DESIGNED CO"),
              QStringLiteral("the designed DeveloperCompany is set: ") + control->DeveloperCompany());
        checkWidgetBox();
        editProperties(control);
        check(control->DeveloperCompany() == QLatin1String("PROBE CO"),
              QStringLiteral("the property page set DeveloperCompany: ") + control->DeveloperCompany());
        const QString saved = form->contents();
        check(saved.contains(QLatin1String("<string>PROBE CO</string>")),
              QStringLiteral("Designer saves the page's DeveloperCompany"));
        check(saved.contains(QLatin1String(zuvexal::ui::ZuVexalWidget::FormMark)),
              QStringLiteral("Designer saves the form mark"));
    }

    void finish()
    {
        QFile out(qEnvironmentVariable("ZUVEXAL_DESIGNER_PROBE"));
        if (out.open(QIODevice::WriteOnly)) {
            QTextStream(&out) << m_lines.join(QLatin1Char('\n')) << "\ndone\n";
            out.close();
        }
        // Designer would ask whether to save the changed form.
        ::_exit(0);
    }

private:
    void checkWidgetBox()
    {
        QDesignerWidgetBoxInterface *box = m_core->widgetBox();
        bool listed = false;
        bool marked = false;
        for (int c = 0; box && c < box->categoryCount(); ++c) {
            const QDesignerWidgetBoxInterface::Category category = box->category(c);
            if (category.name() != QLatin1String("ZuVexal"))
                continue;
            for (int w = 0; w < category.widgetCount(); ++w) {
                if (category.widget(w).name() == QLatin1String("zuvexal::ui::ZuVexalWidget")) {
                    listed = true;
                    marked = category.widget(w).domXml().contains(QLatin1String(zuvexal::ui::ZuVexalWidget::FormMark));
                }
            }
        }
        check(listed, QStringLiteral("the widget box lists the control under ZuVexal"));
        check(marked, QStringLiteral("a control dropped from the widget box carries the form mark"));
    }

    void editProperties(QWidget *control)
    {
        auto *menu = qt_extension<QDesignerTaskMenuExtension *>(m_core->extensionManager(), control);
        QAction *edit = menu ? menu->preferredEditAction() : nullptr;
        check(edit && edit->text() == QLatin1String("Edit ZuVexal Properties..."),
              QStringLiteral("the context menu offers Edit ZuVexal Properties..."));
        if (!edit)
            return;
        bool pageShown = false;
        QTimer::singleShot(300, [&] {
            QWidget *page = QApplication::activeModalWidget();
            if (!page || page->objectName() != QLatin1String("VexalProps"))
                return;
            pageShown = true;
            page->findChild<QPlainTextEdit *>(QStringLiteral("txtDeveloperCompany"))->setPlainText(QStringLiteral("probe co"));
            page->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        edit->trigger();
        check(pageShown, QStringLiteral("the property page was shown"));
    }

    QDesignerFormEditorInterface *m_core;
    QStringList m_lines;
};

} // namespace

class DesignerProbe : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    QString name() const override { return QStringLiteral("DesignerProbe"); }
    QString group() const override { return QStringLiteral("ZuVexal probe"); }
    QString toolTip() const override { return {}; }
    QString whatsThis() const override { return {}; }
    QString includeFile() const override { return QStringLiteral("designerprobe.h"); }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    QWidget *createWidget(QWidget *parent) override { return new QWidget(parent); }
    bool isInitialized() const override { return m_initialized; }
    QString domXml() const override
    {
        return QStringLiteral("<ui language=\"c++\"><widget class=\"DesignerProbe\" name=\"probe\"/></ui>");
    }

    void initialize(QDesignerFormEditorInterface *core) override
    {
        if (m_initialized || !core)
            return;
        m_initialized = true;
        auto *poll = new QTimer(this);
        poll->setInterval(100);
        connect(poll, &QTimer::timeout, this, [this, core, poll] {
            QDesignerFormWindowManagerInterface *forms = core->formWindowManager();
            if (forms->formWindowCount() == 0 || !forms->formWindow(0)->mainContainer()) {
                if (++m_polls < 300)
                    return;
                poll->stop();
                Probe probe(core);
                probe.check(false, QStringLiteral("Designer opened no form within 30 s"));
                probe.finish();
                return;
            }
            poll->stop();
            Probe probe(core);
            probe.run(forms->formWindow(0));
            probe.finish();
        });
        poll->start();
    }

private:
    bool m_initialized = false;
    int m_polls = 0;
};

#include "probe.moc"
