#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QDesignerTaskMenuExtension>
#include <QExtensionFactory>
#include <QObject>

class QAction;

namespace zuvexal::designer {

// Puts the control into Designer's widget box. Inside Qt Designer the
// control runs in design mode, so its design-time rules apply, and carries
// the form mark that Designer saves with the form. Hosts that load forms
// at run time (QUiLoader, QFormBuilder) create it through this plugin too,
// without Designer's form editor: there it runs in run mode.
class ZuVexalPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit ZuVexalPlugin(QObject *parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    QString domXml() const override;

private:
    bool m_initialized = false;
    // Designer's form editor, when the plugin runs inside Designer.
    QDesignerFormEditorInterface *m_formEditor = nullptr;
};

// "Edit ZuVexal Properties..." on the control's context menu.
class ZuVexalTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    ZuVexalTaskMenu(QWidget *control, QObject *parent);
    QAction *preferredEditAction() const override;
    QList<QAction *> taskActions() const override;

private:
    void editProperties();

    QWidget *m_control;
    QAction *m_edit;
};

class ZuVexalTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    using QExtensionFactory::QExtensionFactory;

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};

} // namespace zuvexal::designer
