#include "demowindow.h"

#include <ZuVexal/RecordSet>
#include <ZuVexal/ZuVexalWidget>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using zuvexal::ZuVexal;

namespace {

// The "orders" table (else the first table) of a SQLite file or a server;
// a server's password comes from its driver's environment.
zuvexal::LoadedRecordSet loadOrders(const QString &database)
{
    const zuvexal::ParsedConnection parsed = zuvexal::parseConnection(database);
    if (!parsed.info)
        return {nullptr, parsed.error};
    const zuvexal::OpenedDatabase opened = zuvexal::openConnection(*parsed.info, QStringLiteral("demo"));
    if (!opened.db.isOpen())
        return {nullptr, opened.error};
    const QStringList tables = opened.db.tables();
    if (tables.isEmpty())
        return {nullptr, QStringLiteral("%1 has no tables").arg(parsed.info->displayName())};
    return zuvexal::openTable(opened.db,
                              tables.contains(QStringLiteral("orders")) ? QStringLiteral("orders") : tables.front());
}

} // namespace

DemoWindow::DemoWindow(const QString &database, QWidget *parent) : QMainWindow(parent), m_database(database)
{
    setWindowTitle(QStringLiteral("ZuVexal demo host"));
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_control = new zuvexal::ui::ZuVexalWidget(central);
    m_control->setObjectName(QStringLiteral("ZuVexal1"));
    QString appFolder = QDir::currentPath();
    m_control->control().setApplicationPath(appFolder);

    m_databaseLabel = new QLabel(QStringLiteral("Database: %1").arg(m_database), central);
    m_log = new QPlainTextEdit(central);
    m_log->setObjectName(QStringLiteral("txtLog"));
    m_log->setReadOnly(true);
    m_timerCount = new QLabel(QStringLiteral("ZuTimer events: 0"), central);
    m_progress = new QProgressBar(central);
    m_progress->setFormat(QStringLiteral("ReportStatus: page %v of %m"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    connect(m_control, &zuvexal::ui::ZuVexalWidget::ZuTimer, this, [this] {
        m_timerCount->setText(QStringLiteral("ZuTimer events: %1").arg(++m_ticks));
    });
    connect(m_control, &zuvexal::ui::ZuVexalWidget::ReportStatus, this,
            [this](qint16 total, qint32, qint16 current, bool &, bool &, QVariant &) {
                m_progress->setMaximum(total);
                m_progress->setValue(current);
            });

    auto *top = new QHBoxLayout;
    top->addWidget(m_control);
    top->addWidget(m_databaseLabel, 1);
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addLayout(buildButtons(central));
    layout->addWidget(m_timerCount);
    layout->addWidget(m_progress);
    layout->addWidget(m_log, 1);
    resize(720, 480);
}

QGridLayout *DemoWindow::buildButtons(QWidget *central)
{
    auto *buttons = new QGridLayout;
    auto add = [&](const QString &text, int row, int column, auto slot) {
        auto *b = new QPushButton(text, central);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b, row, column);
        return b;
    };
    add(QStringLiteral("Open database..."), 0, 0, [this] { openDatabase(); });
    add(QStringLiteral("Open connection..."), 3, 1, [this] { openConnection(); });
    add(QStringLiteral("ShowZuReporter"), 0, 1, [this] { showReporter(); });
    add(QStringLiteral("AutoZuReporter"), 0, 2, [this] { autoReport(); });
    add(QStringLiteral("SupplyFileName"), 1, 0, [this] {
        QString folder = QDir::currentPath();
        const QString chosen = m_control->control().SupplyFileName(QStringLiteral("Pick a file"), &folder);
        m_control->control().LogMessage(QStringLiteral("SupplyFileName: ") + chosen, m_log);
    });
    add(QStringLiteral("OpenHyperlink..."), 1, 1, [this] {
        const QString target = QInputDialog::getText(this, QStringLiteral("OpenHyperlink"),
                                                     QStringLiteral("Web address, file or e-mail address:"));
        if (!target.isEmpty()) {
            const bool opened = m_control->control().OpenHyperlink(target);
            m_control->control().LogMessage(QStringLiteral("OpenHyperlink(%1): %2")
                                                .arg(target, opened ? QStringLiteral("opened")
                                                                    : QStringLiteral("no program started")),
                                            m_log);
        }
    });
    add(QStringLiteral("LogMessage"), 1, 2, [this] {
        m_control->control().LogMessage(QStringLiteral("Hello from the demo host"), m_log);
    });
    add(QStringLiteral("ProgramDelayNSec(2)"), 2, 0, [this] {
        qint32 seconds = 2;
        m_control->control().ProgramDelayNSec(&seconds);
        m_control->control().LogMessage(QStringLiteral("waited %1 seconds").arg(seconds), m_log);
    });
    add(QStringLiteral("AboutBox"), 2, 1, [this] { m_control->control().AboutBox(); });
    add(QStringLiteral("Properties..."), 3, 0, [this] { showProperties(); });
    auto *timer = add(QStringLiteral("Timer on/off"), 2, 2, [this] {
        const bool on = !m_control->DoTimer();
        m_control->setInterval(1);
        m_control->setDoTimer(on);
    });
    timer->setToolTip(QStringLiteral("ZuTimer every tick (Interval 1)"));

    return buttons;
}

void DemoWindow::showProperties()
{
    zuvexal::ui::showPropertyPage(m_control, this);
}

void DemoWindow::openDatabase()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open a SQLite database"), QString(),
                                                      QStringLiteral("SQLite databases (*.db *.sqlite);;All files (*)"));
    if (!path.isEmpty())
        setDatabase(path);
}

void DemoWindow::openConnection()
{
    const QString url = QInputDialog::getText(
        this, QStringLiteral("Open connection"),
        QStringLiteral("postgresql://user@host:port/database, mysql://..., odbc:DSN or a SQLite file\n"
                       "(the password comes from PGPASSWORD, ~/.pgpass, MYSQL_PWD or the DSN):"));
    if (!url.isEmpty())
        setDatabase(url);
}

void DemoWindow::setDatabase(const QString &database)
{
    const zuvexal::ParsedConnection parsed = zuvexal::parseConnection(database);
    if (!parsed.info) {
        QMessageBox::warning(this, windowTitle(), parsed.error);
        return;
    }
    m_database = database;
    m_databaseLabel->setText(QStringLiteral("Database: %1").arg(parsed.info->displayName()));
}

zuvexal::RecordSetPtr DemoWindow::records()
{
    const zuvexal::LoadedRecordSet loaded = loadOrders(m_database);
    if (!loaded.records)
        QMessageBox::warning(this, windowTitle(), loaded.error);
    return loaded.records;
}

QString DemoWindow::picturesFolder() const
{
    // A server's pictures have no file beside them: the working folder's.
    const auto parsed = zuvexal::parseConnection(m_database);
    const QString base = parsed.info && parsed.info->isSqlite() ? QFileInfo(parsed.info->databaseName).absolutePath()
                                                                : QDir::currentPath();
    return base + QStringLiteral("/pictures");
}

void DemoWindow::showReporter()
{
    zuvexal::RecordSetPtr records = this->records();
    if (!records)
        return;
    QString pictures = picturesFolder();
    const bool shown = m_control->control().ShowZuReporter(records, QStringLiteral("Photo"), &pictures);
    m_control->control().LogMessage(QStringLiteral("ShowZuReporter: %1").arg(shown ? QStringLiteral("shown")
                                                                                   : QStringLiteral("not shown")),
                                    m_log);
}

void DemoWindow::autoReport()
{
    zuvexal::RecordSetPtr records = this->records();
    if (!records)
        return;
    QString pictures = picturesFolder();
    const bool done = m_control->control().AutoZuReporter(records, QStringLiteral("Photo"), &pictures,
                                                          QStringLiteral("demo"), QStringLiteral("Demo report"),
                                                          ZuVexal::rNoNo);
    m_control->control().LogMessage(QStringLiteral("AutoZuReporter: %1 (pages in %2/Reports)")
                                        .arg(done ? QStringLiteral("written") : QStringLiteral("failed"),
                                             QDir::currentPath()),
                                    m_log);
}

namespace {

// Runs `step` on the modal window of that name once it is up.
void whenShown(const QString &name, std::function<void(QWidget *)> step)
{
    auto *poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, name, step] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || window->objectName() != name)
            return;
        poll->stop();
        poll->deleteLater();
        // Let the window finish its layout and drawing first.
        QTimer::singleShot(300, window, [window, step] { step(window); });
    });
    poll->start();
}

void save(QWidget *window, const QString &path)
{
    window->grab().save(path);
}

} // namespace

void DemoWindow::takeScreenshots(const QString &folder)
{
    QDir().mkpath(folder);
    QTimer::singleShot(500, this, [this, folder] {
        save(this, folder + QStringLiteral("/demo-host.png"));
        whenShown(QStringLiteral("VexalReportForm"), [folder](QWidget *report) {
            save(report, folder + QStringLiteral("/report-window.png"));
            whenShown(QStringLiteral("VexalAdvancedSet"), [folder, report](QWidget *settings) {
                save(settings, folder + QStringLiteral("/advanced-settings.png"));
                QMetaObject::invokeMethod(settings, "reject");
                QTimer::singleShot(300, report, [report] { QMetaObject::invokeMethod(report, "reject"); });
            });
            if (auto *advanced = report->findChild<QPushButton *>(QStringLiteral("cmdAdvanced")))
                advanced->click();
        });
        showReporter();
        whenShown(QStringLiteral("VexalPhotoTabStrip"), [folder](QWidget *chooser) {
            save(chooser, folder + QStringLiteral("/file-chooser.png"));
            QMetaObject::invokeMethod(chooser, "accept");
        });
        QString pictures = picturesFolder();
        m_control->control().SupplyFileName(QStringLiteral("Select a picture"), &pictures, ZuVexal::Zu_Picture_Files);
        whenShown(QStringLiteral("VexalProps"), [folder](QWidget *page) {
            save(page, folder + QStringLiteral("/property-page.png"));
            QMetaObject::invokeMethod(page, "reject");
        });
        showProperties();
        whenShown(QStringLiteral("VexalAbout"), [folder](QWidget *about) {
            save(about, folder + QStringLiteral("/about-box.png"));
            QMetaObject::invokeMethod(about, "accept");
        });
        m_control->control().AboutBox();
        QApplication::quit();
    });
}
