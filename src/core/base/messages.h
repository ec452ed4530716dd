#pragma once

#include <QString>

#include <optional>

namespace zuvexal {

// Shows a message box to the user; the window layer implements it.
class MessagePresenter
{
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~MessagePresenter() = default;
    virtual void show(const QString &title, const QString &text, Icon icon) = 0;
    // Why no window can be shown in this process (no QApplication, say),
    // or nothing when windows can be shown.
    virtual std::optional<QString> unavailable() const { return std::nullopt; }
};

// The message boxes of a process: shown by the installed presenter, or,
// without one that can show them (a batch program, a test), written to
// Qt's log.
class Messages
{
public:
    // nullptr goes back to the log; the presenter is not owned.
    void setPresenter(MessagePresenter *presenter) { m_presenter = presenter; }
    void show(const QString &title, const QString &text,
              MessagePresenter::Icon icon = MessagePresenter::Icon::None) const;

private:
    MessagePresenter *m_presenter = nullptr;
};

} // namespace zuvexal
