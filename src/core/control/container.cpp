#include "core/control/container.h"

#include <QObject>
#include <QSettings>

namespace zuvexal {

QString DefaultContainer::displayName() const
{
    return m_control->objectName();
}

QObject *DefaultContainer::controlByName(const QString &name) const
{
    // The host-side object of the control is the control itself.
    if (name == displayName())
        return const_cast<QObject *>(m_control);
    if (name.isEmpty())
        return nullptr;
    const QObject *top = m_control;
    while (top->parent())
        top = top->parent();
    if (top->objectName() == name)
        return const_cast<QObject *>(top);
    return top->findChild<QObject *>(name);
}

std::optional<QVariant> MemoryPropertyBag::read(const QString &key, const QVariant &defaultValue) const
{
    return m_values.value(key, defaultValue);
}

bool MemoryPropertyBag::write(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    if (value == defaultValue)
        m_values.remove(key);
    else
        m_values.insert(key, value);
    return true;
}

FilePropertyBag::FilePropertyBag(QString path, QString group)
    : m_path(std::move(path)), m_group(std::move(group))
{
}

std::optional<QVariant> FilePropertyBag::read(const QString &key, const QVariant &defaultValue) const
{
    QSettings file(m_path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return std::nullopt;
    file.beginGroup(m_group);
    return file.value(key, defaultValue);
}

bool FilePropertyBag::write(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    QSettings file(m_path, QSettings::IniFormat);
    file.beginGroup(m_group);
    if (value == defaultValue)
        file.remove(key);
    else
        file.setValue(key, value);
    file.endGroup();
    file.sync();
    return file.status() == QSettings::NoError;
}

quint32 toOleColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

QColor fromOleColor(quint32 value)
{
    return QColor(int(value & 0xff), int(value >> 8 & 0xff), int(value >> 16 & 0xff));
}

} // namespace zuvexal
