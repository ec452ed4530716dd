#pragma once

#include <ZuVexal/zuvexalcore_export.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace zuvexal {

// The design-time property page of the control: six properties of the
// selected control, read and written by name. The dialog is a view.
class ZUVEXAL_CORE_EXPORT PropertyPage
{
public:
    // "5 - Zu_FiveRecs" ... "1000 - Zu_ThouRecs", and their record counts.
    static const QStringList RecordsPerPageTexts;
    static const QList<qint32> RecordsPerPageValues;

    QString txtInterval;
    int chkDoTimer = 0;
    int chkEnabled = 0;
    QString txtTag;
    int cmbMaxRecsPerPage = 1;
    QString txtDeveloperCompany;
    // Unapplied edits; the designer reads it. Filling counts as an edit.
    bool Changed = false;

    // A box's text changed or a check box was clicked: an edit.
    void edited() { Changed = true; }
    // The records-per-page box: picking another position is an edit,
    // picking the same one again is not.
    void cmbMaxRecsPerPage_GotFocus() { m_positionOnFocus = cmbMaxRecsPerPage; }
    void cmbMaxRecsPerPage_LostFocus();

    // Shows the first selected control's properties.
    bool fill(QObject *control);
    // Writes the page into the control, stopping at the first property it
    // refuses; an interval out of range is not applied.
    bool apply(QObject *control);
    // The interval box may be left only with 0 .. 2147483647.
    static bool intervalAcceptable(const QString &text);
    static qint64 intervalValue(const QString &text);

private:
    int m_positionOnFocus = -1;
};

} // namespace zuvexal
