#include "core/control/textbox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QObject>
#include <QVariant>

#include <algorithm>

namespace zuvexal {

bool TextBox::hasProperty(const char *name) const
{
    return m_object->metaObject()->indexOfProperty(name) >= 0;
}

bool TextBox::hasMethod(const char *signature) const
{
    return m_object->metaObject()->indexOfMethod(signature) >= 0;
}

std::optional<bool> TextBox::boolOf(const char *published, const char *qtName) const
{
    for (const char *name : {published, qtName}) {
        if (hasProperty(name))
            return m_object->property(name).toBool();
    }
    return std::nullopt;
}

void TextBox::set(const char *published, const char *qtName, bool value)
{
    if (hasProperty(published))
        m_object->setProperty(published, value);
    else if (hasProperty(qtName))
        m_object->setProperty(qtName, value);
}

std::optional<bool> TextBox::locked() const
{
    return boolOf("Locked", "readOnly");
}

void TextBox::setLocked(bool locked)
{
    set("Locked", "readOnly", locked);
}

std::optional<bool> TextBox::enabled() const
{
    return boolOf("Enabled", "enabled");
}

void TextBox::setEnabled(bool enabled)
{
    set("Enabled", "enabled", enabled);
}

bool TextBox::isVisible() const
{
    return boolOf("Visible", "visible").value_or(false);
}

void TextBox::setFocus()
{
    if (hasMethod("SetFocus()"))
        QMetaObject::invokeMethod(m_object, "SetFocus");
    else if (hasMethod("setFocus()"))
        QMetaObject::invokeMethod(m_object, "setFocus");
}

void TextBox::moveCaretToEnd()
{
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_End}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(m_object, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(m_object, &release);
    }
    const QVariant text = m_object->property("text");
    if (text.isValid() && hasProperty("cursorPosition"))
        m_object->setProperty("cursorPosition", text.toString().size());
}

void TextBox::insertAtCaret(const QString &text)
{
    if (hasProperty("SelText"))
        m_object->setProperty("SelText", text);
    else if (hasMethod("insertPlainText(QString)"))
        QMetaObject::invokeMethod(m_object, "insertPlainText", Q_ARG(QString, text));
    else if (hasProperty("text") && hasProperty("cursorPosition"))
        insertIntoLine(text);
}

void TextBox::insertIntoLine(const QString &text)
{
    // One line only: the message continues it after a blank.
    const QString insertion = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString current = m_object->property("text").toString();
    const int caret = std::clamp(m_object->property("cursorPosition").toInt(), 0, int(current.size()));
    m_object->setProperty("text", current.left(caret) + insertion + current.mid(caret));
    m_object->setProperty("cursorPosition", caret + int(insertion.size()));
}

} // namespace zuvexal
