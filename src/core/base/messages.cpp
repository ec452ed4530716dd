#include "core/base/messages.h"

#include <QDebug>

namespace zuvexal {

void Messages::show(const QString &title, const QString &text, MessagePresenter::Icon icon) const
{
    if (m_presenter && !m_presenter->unavailable()) {
        m_presenter->show(title, text, icon);
        return;
    }
    qInfo().noquote() << title << ':' << QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / "));
}

} // namespace zuvexal
