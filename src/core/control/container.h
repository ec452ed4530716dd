#pragma once

#include <QColor>
#include <QString>
#include <QVariant>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

class QObject;

/// \file container.h
/// What connects a control to its host: the container, saved properties
/// and the visible surface. Included by `<ZuVexal/ZuVexal>`.

namespace zuvexal {

/// What the host's container tells a control and is told by it.
///
/// ui::ZuVexalWidget is the container of its own control; a control given
/// none uses a DefaultContainer. The control calls these from the host's
/// thread; an exception thrown by one counts as no answer.
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT Container
{
public:
    virtual ~Container() = default;
    /// True while the host application runs, false while it is designed.
    virtual bool userMode() const = 0;
    /// The name under which the host knows the control.
    virtual QString displayName() const = 0;
    /// The persisted property \a name changed; the container will save the
    /// control.
    virtual void propertyChanged(const QString &name) = 0;
    /// The host-side object of a control of the host's window with the
    /// object name \a name; null when there is none.
    virtual QObject *controlByName(const QString &name) const = 0;
};

/// The container of a control that was given none: run mode, the control's
/// objectName as its name, and the controls found by objectName among the
/// descendants of the control's top-most ancestor.
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT DefaultContainer final : public Container
{
public:
    /// The container of \a control, which must outlive it.
    explicit DefaultContainer(const QObject *control) : m_control(control) {}
    /// Always true: a control without a container runs.
    bool userMode() const override { return true; }
    /// The control's objectName.
    QString displayName() const override;
    /// Nothing is saved.
    void propertyChanged(const QString &) override {}
    /// The control itself for its own name, else the top-most ancestor or
    /// its first descendant named \a name; null when none is, and for an
    /// empty name that is not the control's.
    QObject *controlByName(const QString &name) const override;

private:
    const QObject *m_control;
};

/// Values a control saves with the host's document
/// (ZuVexal::ReadProperties(), ZuVexal::WriteProperties()).
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    /// The stored value, the default when none is stored, nothing when the
    /// value cannot be read.
    /// \param key the property's name.
    /// \param defaultValue the value of a property that is not stored.
    virtual std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const = 0;
    /// Stores the value; a value equal to its default is omitted.
    /// \param key the property's name.
    /// \param value the value to store.
    /// \param defaultValue the property's default: equal to \a value, the
    ///        key is removed instead.
    /// \return false when the value could not be stored.
    virtual bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) = 0;
};

/// Properties kept in memory, for hosts that save them their own way and
/// for tests.
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT MemoryPropertyBag final : public PropertyBag
{
public:
    std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const override;
    /// \copydoc PropertyBag::write
    /// Always true here.
    bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) override;
    /// Every stored value by key.
    const QVariantMap &values() const { return m_values; }
    /// Stores \a value under \a key as it is, even when it is a default.
    void set(const QString &key, const QVariant &value) { m_values.insert(key, value); }

private:
    QVariantMap m_values;
};

/// Properties kept in an INI file, in one group per control.
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT FilePropertyBag final : public PropertyBag
{
public:
    /// The properties in the group \a group of the INI file \a path; the
    /// file is read and written at each call.
    FilePropertyBag(QString path, QString group);
    std::optional<QVariant> read(const QString &key, const QVariant &defaultValue) const override;
    bool write(const QString &key, const QVariant &value, const QVariant &defaultValue) override;

private:
    QString m_path;
    QString m_group;
};

/// The control's visible surface: colour, enabled state and window handle
/// live there, not in the control object.
/// \headerfile container.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT ControlSurface
{
public:
    virtual ~ControlSurface() = default;
    /// The surface's background colour.
    virtual QColor backColor() const = 0;
    /// Paints the surface's background in \a color.
    virtual void setBackColor(const QColor &color) = 0;
    /// Whether the surface takes input.
    virtual bool isEnabled() const = 0;
    /// Makes the surface take input, or not, as \a enabled says.
    virtual void setEnabled(bool enabled) = 0;
    /// The native window handle other programs know the surface by; 0 for
    /// none.
    virtual quintptr windowHandle() const = 0;
};

/// The surface of a control without a window (the CLI, batch hosts): it
/// keeps colour and enabled state, and has no window handle (0).
/// \headerfile container.h <ZuVexal/ZuVexal>
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

/// \a color as it crosses the host interface: 0x00BBGGRR.
ZUVEXAL_CORE_EXPORT quint32 toOleColor(const QColor &color);
/// The colour of a host's 0x00BBGGRR \a value; the top byte is ignored.
ZUVEXAL_CORE_EXPORT QColor fromOleColor(quint32 value);

} // namespace zuvexal
