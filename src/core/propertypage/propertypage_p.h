#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace zuvexal {

// The design-time property page of the control: six properties of the
// selected control, read and written by name. The dialog is a view.
class PropertyPage
{
public:
    // "5 - Zu_FiveRecs" ... "1000 - Zu_ThouRecs", and their record counts.
    ZUVEXAL_CORE_EXPORT static const QStringList RecordsPerPageTexts;
    ZUVEXAL_CORE_EXPORT static const QList<qint32> RecordsPerPageValues;

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
    ZUVEXAL_CORE_EXPORT void cmbMaxRecsPerPage_LostFocus();

    // Shows the first selected control's properties.
    ZUVEXAL_CORE_EXPORT bool fill(QObject *control);
    // Writes the page into the control, stopping at the first property it
    // refuses; an interval out of range is not applied.
    ZUVEXAL_CORE_EXPORT bool apply(QObject *control);
    // The interval box may be left only with 0 .. 2147483647.
    ZUVEXAL_CORE_EXPORT static bool intervalAcceptable(const QString &text);
    static qint64 intervalValue(const QString &text);

private:
    int m_positionOnFocus = -1;
};

} // namespace zuvexal
