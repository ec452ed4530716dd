// Times the report window on a large record set: the first page on screen
// after ShowZuReporter is called with a loaded set, switching pages, and
// moving a field between the lists (each with the grid painted). The set is
// table t of a bench_report database (bench_report --rows 1000000 makes one).
// See README.md beside this file.

#include <ZuVexal/RecordSet>
#include <ZuVexal/ZuVexalWidget>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Times
{
    std::vector<double> ms;
    void print(const char *what) const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-28s median %7.1f ms, max %7.1f ms (%zu times)\n", what, sorted[sorted.size() / 2],
                    sorted.back(), sorted.size());
    }
};

template <typename W>
W *child(QWidget *window, const char *name)
{
    return window->findChild<W *>(QString::fromLatin1(name));
}

// Clicks a button and paints the grid as the screen would; milliseconds.
double clickAndPaint(QPushButton *button, QTableView *grid)
{
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(button, Qt::LeftButton);
    grid->viewport()->repaint();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench_report_1000000.db");
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "no %s: make it with bench_report --rows 1000000\n", qPrintable(path));
        return 1;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open())
        return 1;
    QElapsedTimer timer;
    timer.start();
    zuvexal::LoadResult loaded = zuvexal::loadTable(db, QStringLiteral("t"));
    if (!loaded.records)
        return 1;
    zuvexal::RecordSetPtr records = std::make_shared<zuvexal::RecordSet>(*loaded.records);
    std::printf("loaded %lld records in %lld ms\n", qlonglong(records->recordCount()), timer.elapsed());

    QWidget host;
    auto *control = new zuvexal::ui::ZuVexalWidget(&host);
    control->setObjectName(QStringLiteral("ZuVexal1"));
    control->setMaxRecsPerPage(200);

    double firstPageMs = -1;
    Times pageSwitch, fieldMove;
    auto *poll = new QTimer(&app);
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *grid = window ? child<QTableView>(window, "MSHFlexGrid1") : nullptr;
        if (!grid || grid->model()->rowCount() == 0)
            return;
        poll->stop();
        grid->viewport()->repaint();
        firstPageMs = timer.nsecsElapsed() / 1e6;
        for (int i = 0; i < 20; ++i)
            pageSwitch.ms.push_back(clickAndPaint(child<QPushButton>(window, "cmdPage2"), grid));
        for (int i = 0; i < 20; ++i)
            pageSwitch.ms.push_back(clickAndPaint(child<QPushButton>(window, "cmdPage1"), grid));
        auto *available = child<QListWidget>(window, "lstAvailable");
        auto *output = child<QListWidget>(window, "lstOutput");
        for (int i = 0; i < 10; ++i) {
            available->clearSelection();
            available->item(0)->setSelected(true);
            fieldMove.ms.push_back(clickAndPaint(child<QPushButton>(window, "cmdDirection0"), grid));
            output->clearSelection();
            output->item(output->count() - 1)->setSelected(true);
            fieldMove.ms.push_back(clickAndPaint(child<QPushButton>(window, "cmdDirection1"), grid));
        }
        window->reject();
    });
    poll->start();
    timer.restart();
    control->ShowZuReporter(records);
    std::printf("first page on screen         %7.1f ms after ShowZuReporter\n", firstPageMs);
    pageSwitch.print("page switch");
    fieldMove.print("field moved between lists");
    return firstPageMs < 0 ? 1 : 0;
}
