#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include "core/propertypage/propertypage_p.h"

#include <ZuVexal/zuvexalwidgets_export.h>

#include <QDialog>
#include <QPointer>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace zuvexal::ui {

// The control's property page for designers and hosts: Interval, DoTimer,
// Enabled, Tag, MaxRecsPerPage and DeveloperCompany of one control.
class ZUVEXAL_WIDGETS_EXPORT PropertyPageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PropertyPageDialog(QWidget *parent = nullptr);

    // The selection changed: the page shows this control.
    void setControl(QObject *control);
    // Writes the page into the control; false when it refused a value or the
    // interval is out of range. Apply and OK both come here.
    bool applyChanges();
    // Called with the control after every successful apply (a designer
    // records the properties through its form then).
    std::function<void(QObject *control)> applied;
    bool isChanged() const { return m_page.Changed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pushToPage();

    PropertyPage m_page;
    QPointer<QObject> m_control;
    QLineEdit *m_interval;
    QCheckBox *m_doTimer;
    QCheckBox *m_enabled;
    QLineEdit *m_tag;
    QComboBox *m_records;
    QPlainTextEdit *m_company;
};

} // namespace zuvexal::ui
