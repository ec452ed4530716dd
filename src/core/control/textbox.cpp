#include "core/control/textbox.h"

#include <QMetaObject>
#include <QObject>
#include <QVariant>

#include <vector>

namespace zuvexal {

namespace {

std::vector<TextBoxAdapter> &adapters()
{
    static std::vector<TextBoxAdapter> list;
    return list;
}

// Reaches an object through its published members by name; a member the
// object lacks costs only the step that uses it.
class ByNameTextBox final : public TextBox
{
public:
    explicit ByNameTextBox(QObject *object) : m_object(object) {}

    std::optional<bool> locked() const override { return boolOf("Locked", "readOnly"); }
    void setLocked(bool locked) override { set("Locked", "readOnly", locked); }
    std::optional<bool> enabled() const override { return boolOf("Enabled", "enabled"); }
    void setEnabled(bool enabled) override { set("Enabled", "enabled", enabled); }
    bool isVisible() const override { return boolOf("Visible", "visible").value_or(false); }

    void setFocus() override
    {
        if (hasMethod("SetFocus()"))
            QMetaObject::invokeMethod(m_object, "SetFocus");
        else if (hasMethod("setFocus()"))
            QMetaObject::invokeMethod(m_object, "setFocus");
    }

    void moveCaretToEnd() override
    {
        const QVariant text = m_object->property("text");
        if (text.isValid() && hasProperty("cursorPosition"))
            m_object->setProperty("cursorPosition", text.toString().size());
    }

    void insertAtCaret(const QString &text) override
    {
        if (hasProperty("SelText"))
            m_object->setProperty("SelText", text);
        else if (hasMethod("insert(QString)"))
            QMetaObject::invokeMethod(m_object, "insert", Q_ARG(QString, text));
        else if (hasMethod("insertPlainText(QString)"))
            QMetaObject::invokeMethod(m_object, "insertPlainText", Q_ARG(QString, text));
    }

private:
    bool hasProperty(const char *name) const { return m_object->metaObject()->indexOfProperty(name) >= 0; }
    bool hasMethod(const char *signature) const { return m_object->metaObject()->indexOfMethod(signature) >= 0; }

    std::optional<bool> boolOf(const char *published, const char *qtName) const
    {
        for (const char *name : {published, qtName}) {
            if (hasProperty(name))
                return m_object->property(name).toBool();
        }
        return std::nullopt;
    }

    void set(const char *published, const char *qtName, bool value)
    {
        if (hasProperty(published))
            m_object->setProperty(published, value);
        else if (hasProperty(qtName))
            m_object->setProperty(qtName, value);
    }

    QObject *m_object;
};

} // namespace

void registerTextBoxAdapter(TextBoxAdapter adapter)
{
    adapters().push_back(std::move(adapter));
}

std::unique_ptr<TextBox> textBoxFor(QObject *object)
{
    if (!object)
        return nullptr;
    for (const TextBoxAdapter &adapter : adapters()) {
        if (std::unique_ptr<TextBox> box = adapter(object))
            return box;
    }
    return std::make_unique<ByNameTextBox>(object);
}

} // namespace zuvexal
