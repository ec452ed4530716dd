#pragma once

#include <QString>

#include <optional>

class QObject;

namespace zuvexal {

// A host's text-editing control as the message log reaches it: by member
// name, late-bound, so any QLineEdit, QTextEdit or QPlainTextEdit works, and
// so does any object that offers the published names "Locked", "Enabled",
// "Visible", "SetFocus" and "SelText". A member the object lacks costs only
// the step that uses it.
class TextBox
{
public:
    explicit TextBox(QObject *object) : m_object(object) {}

    std::optional<bool> locked() const;      // "Locked", else "readOnly"
    void setLocked(bool locked);
    std::optional<bool> enabled() const;     // "Enabled", else "enabled"
    void setEnabled(bool enabled);
    bool isVisible() const;                  // "Visible", else "visible"
    void setFocus();                         // "SetFocus()", else "setFocus()"
    // Ctrl+Home then Ctrl+End, each handled before going on, as a user would
    // press them; a line edit's caret also goes to its end.
    void moveCaretToEnd();
    // "SelText", else an editor's insertPlainText(), else at a line edit's
    // "cursorPosition" in its "text" (line breaks become blanks).
    void insertAtCaret(const QString &text);

private:
    bool hasProperty(const char *name) const;
    bool hasMethod(const char *signature) const;
    std::optional<bool> boolOf(const char *published, const char *qtName) const;
    void set(const char *published, const char *qtName, bool value);
    void insertIntoLine(const QString &text);

    QObject *m_object;
};

} // namespace zuvexal
