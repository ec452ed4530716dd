#pragma once

#include <ZuVexal/RecordSet>

#include <QMainWindow>

class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace zuvexal::ui {
class ZuVexalWidget;
}

// A host application with the control on its window and a button for each
// of the control's services.
class DemoWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DemoWindow(const QString &database, QWidget *parent = nullptr);

    zuvexal::ui::ZuVexalWidget *control() const { return m_control; }

    // Shows each window on the sample data in turn and saves a picture of
    // it into the folder; quits the application when done.
    void takeScreenshots(const QString &folder);

private:
    // A button for each of the control's services.
    QGridLayout *buildButtons(QWidget *central);
    // The records of the database's "orders" table (else its first table).
    zuvexal::RecordSetPtr records();
    // The sample's pictures sit beside its database.
    QString picturesFolder() const;
    void showReporter();
    void autoReport();
    void openDatabase();
    // A connection URL typed in, or a SQLite file.
    void openConnection();
    void setDatabase(const QString &database);
    void showProperties();

    QString m_database;
    zuvexal::ui::ZuVexalWidget *m_control;
    QPlainTextEdit *m_log;
    QLabel *m_timerCount;
    QLabel *m_databaseLabel;
    QProgressBar *m_progress;
    int m_ticks = 0;
};
