#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace zuvexal {

// A host's text-editing control as the message log reaches it. The window
// layer registers adapters for Qt's editors; any other object is reached by
// member name ("Locked", "Enabled", "Visible", "SetFocus", "SelText", or
// their Qt counterparts "readOnly", "enabled", "visible", "setFocus" and a
// QLineEdit-like "cursorPosition"/"insert").
class TextBox
{
public:
    virtual ~TextBox() = default;
    virtual std::optional<bool> locked() const = 0;
    virtual void setLocked(bool locked) = 0;
    virtual std::optional<bool> enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isVisible() const = 0;
    virtual void setFocus() = 0;
    virtual void moveCaretToEnd() = 0;
    // Replaces the selection, or inserts at the caret.
    virtual void insertAtCaret(const QString &text) = 0;
};

// Gives an adapter for objects it knows, nullptr for others.
using TextBoxAdapter = std::function<std::unique_ptr<TextBox>(QObject *)>;
void registerTextBoxAdapter(TextBoxAdapter adapter);

// The registered adapter for the object, else access by member name.
std::unique_ptr<TextBox> textBoxFor(QObject *object);

} // namespace zuvexal
