#include "core/base/messages.h"

#include <QDebug>

namespace zuvexal {

namespace {

class LogPresenter final : public MessagePresenter
{
public:
    void show(const QString &title, const QString &text, Icon) override
    {
        qInfo().noquote() << title << ':' << QString(text).replace(QLatin1String("\r\n"), QLatin1String(" / "));
    }
};

LogPresenter logPresenter;
MessagePresenter *current = &logPresenter;

} // namespace

void setMessagePresenter(MessagePresenter *presenter)
{
    current = presenter ? presenter : &logPresenter;
}

void showMessage(const QString &title, const QString &text, MessagePresenter::Icon icon)
{
    current->show(title, text, icon);
}

} // namespace zuvexal
