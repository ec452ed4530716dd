#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace zuvexal {
class ReportForm;
}

namespace zuvexal::ui {

class PageModel;

// The report window: previews the pages of a report, lets the user choose
// and order the fields, the title, date, colour and file name, and starts
// the generation run. A view over the process's ReportForm; every button
// calls the form's handler, and the widgets show the form's state after it.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ReportWindow(ReportForm &form, QWidget *parent = nullptr);

    // Loads the form and shows the window modally until it closes.
    void showModal();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *buildFieldsFrame();
    QGroupBox *buildReportFrame();
    QGroupBox *buildStatusFrame();
    void followForm();
    // A button whose click hands the widgets to the form, runs the form's
    // handler and shows the form's state after it.
    QPushButton *handlerButton(const QString &name, const QString &text, const QString &tip, QWidget *parent,
                               std::function<void()> handler);
    void pushToForm();
    void pullFromForm();
    void showPage();
    void showProgress();

    ReportForm &m_form;
    PageModel *m_model;
    QGroupBox *m_frame1;
    QGroupBox *m_frame2;
    QGroupBox *m_frame3;
    QListWidget *m_available;
    QListWidget *m_output;
    std::array<QPushButton *, 4> m_pageButtons{};
    QLineEdit *m_title;
    QComboBox *m_color;
    QCheckBox *m_insert;
    QDateEdit *m_date;
    QCheckBox *m_browser;
    QCheckBox *m_printer;
    QLineEdit *m_fileName;
    QLabel *m_totalPages;
    QLabel *m_elapsedSeconds;
    QLabel *m_curPage;
    QCheckBox *m_deleteOnCancel;
    QCheckBox *m_cancel;
    QTableView *m_grid;
    QLabel *m_page;
};

} // namespace zuvexal::ui
