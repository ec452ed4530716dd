// What every host of the matrix shares: a failed expectation is named on
// stderr and counted, and the host's exit status says whether all held.
// Qt's warnings are kept, so a host can check the one line a service
// writes when it cannot do its job.
#pragma once

#include <ZuVexal/RecordSet>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <memory>

namespace hostcheck {

inline int failures = 0;
inline QStringList warnings;

inline void expect(bool ok, const QString &what)
{
    if (!ok) {
        QTextStream(stderr) << "  FAILED: " << what << '\n';
        ++failures;
    }
}

inline void keepWarnings()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtWarningMsg)
            warnings << message;
        QTextStream(stderr) << message << '\n';
    });
}

// Whether one warning holds the text; the kept warnings are cleared.
inline bool warned(const QString &text)
{
    const bool found = !warnings.filter(text).isEmpty();
    warnings.clear();
    return found;
}

// Twelve orders: three pages at five a page.
inline zuvexal::RecordSetPtr orders()
{
    auto records = std::make_shared<zuvexal::RecordSet>();
    records->appendField(QStringLiteral("OrderID"), zuvexal::Ado::adInteger, 4);
    records->appendField(QStringLiteral("Customer"), zuvexal::Ado::adVarWChar, 40);
    records->open();
    for (int i = 1; i <= 12; ++i) {
        records->addNew();
        records->setValue(0, i);
        records->setValue(1, QStringLiteral("Customer %1").arg(i));
        records->update();
    }
    records->moveFirst();
    return records;
}

inline bool fileHolds(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(text);
}

inline int result(const char *host)
{
    QTextStream(stdout) << host << (failures == 0 ? ": ok" : ": FAILED") << '\n';
    return failures == 0 ? 0 : 1;
}

} // namespace hostcheck
