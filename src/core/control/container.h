#pragma once

#include <QColor>
#include <QString>
#include <QVariant>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

class QObject;

namespace zuvexal {

// What the host's container tells a control and is told by it.
class ZUVEXAL_CORE_EXPORT Container
{
public:
    virtual ~Container() = default;
    // True while the host application runs, false while it is designed.
    virtual bool userMode() const = 0;
    // The name under which the host knows the control.
    virtual QString displayName() const = 0;
    // A persisted property changed; the container will save the control.
    virtual void propertyChanged(const QString &name) = 0;
    // The host-side object of a control of the host's window, by name.
    virtual QObject *controlByName(const QString &name) const = 0;
};

// The container of a control that was given none: run mode, the control's
// objectName as its name, and the controls found by objectName among the
// descendants of the control's top-most ancestor.
class ZUVEXAL_CORE_EXPORT DefaultContainer final : public Container
{
public:
    explicit DefaultContainer(const QObject *control) : m_control(control) {}
    bool userMode() const override { return true; }
    QString displayName() const override;
    void propertyChanged(const QString &) override {}
    QObject *controlByName(const QString &name) const override;

private:
    const QObject *m_control;
};

// Values a control saves with the host's document.
class ZUVEXAL_CORE_EXPORT PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    // The stored value, the default when none is stored, nothing when the
    // value cannot be read.
    virtual std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const = 0;
    // Stores the value; a value equal to its default is omitted.
    virtual bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) = 0;
};

class ZUVEXAL_CORE_EXPORT MemoryPropertyBag final : public PropertyBag
{
public:
    std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const override;
    bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) override;
    const QVariantMap &values() const { return m_values; }
    void set(const QString &key, const QVariant &value) { m_values.insert(key, value); }

private:
    QVariantMap m_values;
};

// Properties kept in an INI file, in one group per control.
class ZUVEXAL_CORE_EXPORT FilePropertyBag final : public PropertyBag
{
public:
    FilePropertyBag(QString path, QString group);
    std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const override;
    bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) override;

private:
    QString m_path;
    QString m_group;
};

// The control's visible surface: colour, enabled state and window handle
// live there, not in the control object.
class ZUVEXAL_CORE_EXPORT ControlSurface
{
public:
    virtual ~ControlSurface() = default;
    virtual QColor backColor() const = 0;
    virtual void setBackColor(const QColor &color) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual quintptr windowHandle() const = 0;
};

// The surface of a control without a window (the CLI, batch hosts).
class ZUVEXAL_CORE_EXPORT HeadlessSurface final : public ControlSurface
{
public:
    QColor backColor() const override { return m_color; }
    void setBackColor(const QColor &color) override { m_color = color; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    quintptr windowHandle() const override { return 0; }

private:
    QColor m_color;
    bool m_enabled = true;
};

// Colours cross the host interface as 0x00BBGGRR.
ZUVEXAL_CORE_EXPORT quint32 toOleColor(const QColor &color);
ZUVEXAL_CORE_EXPORT QColor fromOleColor(quint32 value);

} // namespace zuvexal
