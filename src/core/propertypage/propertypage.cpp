#include "core/propertypage/propertypage_p.h"

#include "core/base/values_p.h"

#include <QVariant>

#include <cmath>
#include <limits>

namespace zuvexal {

const QStringList PropertyPage::RecordsPerPageTexts = {
    QStringLiteral("5 - Zu_FiveRecs"),      QStringLiteral("10 - Zu_TenRecs"),     QStringLiteral("20 - Zu_TwentyRecs"),
    QStringLiteral("100 - Zu_HundredRecs"), QStringLiteral("200 - Zu_TwoHunRecs"), QStringLiteral("500 - Zu_FiveHunRecs"),
    QStringLiteral("1000 - Zu_ThouRecs"),
};
const QList<qint32> PropertyPage::RecordsPerPageValues = {5, 10, 20, 100, 200, 500, 1000};

qint64 PropertyPage::intervalValue(const QString &text)
{
    const double value = std::nearbyint(leadingNumber(text));
    if (value < double(std::numeric_limits<qint64>::min()) || value > double(std::numeric_limits<qint64>::max()))
        return -1;
    return qint64(value);
}

bool PropertyPage::intervalAcceptable(const QString &text)
{
    const qint64 value = intervalValue(text);
    return value >= 0 && value <= std::numeric_limits<qint32>::max();
}

bool PropertyPage::fill(QObject *control)
{
    if (!control)
        return false;
    const QVariant interval = control->property("Interval");
    const QVariant doTimer = control->property("DoTimer");
    const QVariant enabled = control->property("Enabled");
    const QVariant tag = control->property("Tag");
    const QVariant records = control->property("MaxRecsPerPage");
    const QVariant company = control->property("DeveloperCompany");
    if (!interval.isValid() || !doTimer.isValid() || !enabled.isValid() || !tag.isValid() || !records.isValid()
        || !company.isValid())
        return false;
    txtInterval = QString::number(interval.toLongLong());
    chkDoTimer = doTimer.toBool() ? 1 : 0;
    chkEnabled = enabled.toBool() ? 1 : 0;
    txtTag = tag.toString();
    txtDeveloperCompany = company.toString();
    const qsizetype position = RecordsPerPageValues.indexOf(records.toInt());
    // Values outside the list show as the usual ten records.
    cmbMaxRecsPerPage = position >= 0 ? int(position) : 1;
    Changed = true;
    return true;
}

void PropertyPage::cmbMaxRecsPerPage_LostFocus()
{
    if (cmbMaxRecsPerPage != m_positionOnFocus)
        Changed = true;
}

bool PropertyPage::apply(QObject *control)
{
    if (!control || !intervalAcceptable(txtInterval))
        return false;
    return control->setProperty("Interval", qint32(intervalValue(txtInterval)))
        && control->setProperty("DoTimer", chkDoTimer == 1) && control->setProperty("Enabled", chkEnabled == 1)
        && control->setProperty("Tag", txtTag)
        && control->setProperty("MaxRecsPerPage", RecordsPerPageValues.value(cmbMaxRecsPerPage, 10))
        && control->setProperty("DeveloperCompany", txtDeveloperCompany);
}

} // namespace zuvexal
