#pragma once

#include <QString>

namespace zuvexal {

// Message boxes that speak to the user. The core only asks for them; the
// window layer installs a presenter that shows real boxes, and without one
// the text goes to the log.
class MessagePresenter
{
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~MessagePresenter() = default;
    virtual void show(const QString &title, const QString &text, Icon icon) = 0;
};

// The presenter in use (nullptr restores the default); not owned.
void setMessagePresenter(MessagePresenter *presenter);
void showMessage(const QString &title, const QString &text,
                 MessagePresenter::Icon icon = MessagePresenter::Icon::None);

} // namespace zuvexal
