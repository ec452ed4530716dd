#include "ui/reportform/reportwindow.h"

#include "core/reporter/reportform_p.h"
#include "ui/advancedset/advancedwindow.h"
#include "ui/reportform/pagemodel.h"
#include "ui/named.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zuvexal::ui {

namespace {

QPushButton *button(const QString &name, const QString &text, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

void fillList(QListWidget *list, const ListItems &items)
{
    const QSignalBlocker block(list);
    list->clear();
    for (const ListItem &item : items) {
        list->addItem(item.text);
        list->item(list->count() - 1)->setSelected(item.selected);
    }
}

void readList(const QListWidget *list, ListItems &items)
{
    for (int i = 0; i < list->count() && i < items.size(); ++i)
        items[i].selected = list->item(i)->isSelected();
}

} // namespace

ReportWindow::ReportWindow(ReportForm &form, QWidget *parent) : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("VexalReportForm"));
    setModal(true);
    m_frame1 = buildFieldsFrame();
    m_frame2 = buildReportFrame();
    m_frame3 = buildStatusFrame();
    m_model = new PageModel(this);
    m_grid = named(new QTableView(this), QStringLiteral("MSHFlexGrid1"),
                   tr("You may resize column headers to view well"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Screen readers name the grid and read its columns' headers from the model.
    m_grid->setAccessibleName(tr("Records of the page"));
    m_page = named(new QLabel(tr("Preview Records"), this), QStringLiteral("lblPage"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_frame1, 3);
    auto *right = new QVBoxLayout;
    right->addWidget(m_frame2);
    right->addWidget(m_frame3);
    right->addStretch();
    top->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_page);
    layout->addWidget(m_grid, 1);
    resize(980, 640);
    followForm();
}

QPushButton *ReportWindow::handlerButton(const QString &name, const QString &text, const QString &tip,
                                         QWidget *parent, std::function<void()> handler)
{
    QPushButton *b = button(name, text, tip, parent);
    connect(b, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
        // Generate yields and Advanced shows a window: the host may delete
        // its window, and this one with it, meanwhile.
        const QPointer<ReportWindow> self(this);
        pushToForm();
        handler();
        if (self)
            pullFromForm();
    });
    return b;
}

QGroupBox *ReportWindow::buildFieldsFrame()
{
    // The two halves of the title stand over their lists.
    auto *frame = named(new QGroupBox(tr(" Available fields") + QString(59, QLatin1Char(' '))
                                          + tr("Fields to output in report"),
                                      this),
                        QStringLiteral("Frame1"));
    m_available = named(new QListWidget(frame), QStringLiteral("lstAvailable"),
                        tr("Mark or select those for report"));
    m_available->setSelectionMode(QAbstractItemView::MultiSelection);
    m_output = named(new QListWidget(frame), QStringLiteral("lstOutput"),
                     tr("You may rearrange fields order"));
    m_output->setSelectionMode(QAbstractItemView::MultiSelection);
    m_available->setAccessibleName(tr("Available fields"));
    m_output->setAccessibleName(tr("Fields in the report"));

    auto *moves = new QVBoxLayout;
    moves->addWidget(handlerButton(QStringLiteral("cmdDirection0"), tr("-->>"),
                                   tr("send to output list"), frame,
                                   [this] { m_form.cmdDirection_Click(0); }));
    moves->addWidget(handlerButton(QStringLiteral("cmdDirection1"), tr("<<--"),
                                   tr("remove from output list"), frame,
                                   [this] { m_form.cmdDirection_Click(1); }));
    moves->addWidget(handlerButton(QStringLiteral("cmdMoveUpDown0"), tr("/\\"),
                                   tr("Move selected item up in output list"), frame,
                                   [this] { m_form.cmdMoveUpDown_Click(0); }));
    moves->addWidget(handlerButton(QStringLiteral("cmdMoveUpDown1"), tr("\\/"),
                                   tr("Move selected item down in output list"), frame,
                                   [this] { m_form.cmdMoveUpDown_Click(1); }));
    moves->addStretch();
    auto *lists = new QHBoxLayout;
    lists->addWidget(m_available);
    lists->addLayout(moves);
    lists->addWidget(m_output);

    auto *pages = new QHBoxLayout;
    const QStringList pageCaptions{tr("&First"), tr("Pre&vious"), tr("&Next"), tr("&Last")};
    for (int i = 0; i < 4; ++i) {
        m_pageButtons[size_t(i)] = handlerButton(QStringLiteral("cmdPage%1").arg(i), pageCaptions[i],
                                                 tr("page of records"), frame,
                                                 [this, i] { m_form.cmdPage_Click(i); });
        pages->addWidget(m_pageButtons[size_t(i)]);
    }
    pages->addStretch();
    pages->addWidget(handlerButton(QStringLiteral("cmdAdvanced"), tr("&Advanced"),
                                   tr("set more preferences"), frame,
                                   [this] { m_form.cmdAdvanced_Click(); }));
    QPushButton *generate = handlerButton(QStringLiteral("cmdGenerate"), tr("&Generate"), QString(),
                                          frame, [this] { m_form.cmdGenerate_Click(); });
    generate->setDefault(true);
    pages->addWidget(generate);
    QPushButton *close = button(QStringLiteral("cmdClose"), tr("&Close"), QString(), frame);
    connect(close, &QPushButton::clicked, this, [this] {
        pushToForm();
        m_form.cmdClose_Click();
    });
    pages->addWidget(close);

    auto *layout = new QVBoxLayout(frame);
    layout->addLayout(lists);
    layout->addLayout(pages);
    return frame;
}

QGroupBox *ReportWindow::buildReportFrame()
{
    auto *frame = named(new QGroupBox(tr("Report"), this), QStringLiteral("Frame2"));
    m_title = named(new QLineEdit(frame), QStringLiteral("txtTitle"));
    m_color = named(new QComboBox(frame), QStringLiteral("cboBGcolor"), tr("select table color"));
    m_color->addItems(reportTableColors());
    m_insert = named(new QCheckBox(tr("&Insert"), frame), QStringLiteral("chkInsert"),
                     tr("check to insert date"));
    m_date = named(new QDateEdit(frame), QStringLiteral("dtpInsert"));
    m_date->setCalendarPopup(true);
    m_browser = named(new QCheckBox(tr("Show in &Web Browser"), frame), QStringLiteral("chkBrowser"));
    m_printer = named(new QCheckBox(tr("Send to &Printer"), frame), QStringLiteral("chkPrinter"));
    m_fileName = named(new QLineEdit(frame), QStringLiteral("txtFilename"),
                       tr("Internet file will be generated in your Reports sub-folder"));
    QPushButton *saveAs = handlerButton(QStringLiteral("cmdSaveAs"), tr("&Save As"),
                                        tr("Append to an existing report only if you must"), frame,
                                        [this] { m_form.cmdSaveAs_Click(); });
    auto *layout = new QGridLayout(frame);
    layout->addWidget(named(new QLabel(tr("Title"), frame), QStringLiteral("Label1_1")), 0, 0);
    layout->addWidget(m_title, 0, 1, 1, 3);
    layout->addWidget(named(new QLabel(tr("Color"), frame), QStringLiteral("Label1_2")), 1, 0);
    layout->addWidget(m_color, 1, 1);
    layout->addWidget(m_insert, 1, 2);
    layout->addWidget(m_date, 1, 3);
    layout->addWidget(m_browser, 2, 0, 1, 2);
    layout->addWidget(m_printer, 2, 2, 1, 2);
    layout->addWidget(m_fileName, 3, 0, 1, 3);
    layout->addWidget(saveAs, 3, 3);
    return frame;
}

QGroupBox *ReportWindow::buildStatusFrame()
{
    auto *frame = named(new QGroupBox(this), QStringLiteral("Frame3"));
    auto *status = named(new QLabel(tr("Total_Pages  |   Elapsed_Seconds  |  Current_Page_Generated  |  "
                                       "Delete_on_Cancel | Cancel"),
                                    frame),
                         QStringLiteral("lblReportStatus"));
    m_totalPages = named(new QLabel(QStringLiteral("tp"), frame), QStringLiteral("lblTotalPages"));
    m_elapsedSeconds = named(new QLabel(QStringLiteral("es"), frame), QStringLiteral("lblElapsedSeconds"));
    m_curPage = named(new QLabel(QStringLiteral("cp"), frame), QStringLiteral("lblCurPage"));
    m_deleteOnCancel = named(new QCheckBox(frame), QStringLiteral("chkDeleteOnCancel"),
                             tr("delete generated report pages on abort"));
    m_cancel = named(new QCheckBox(frame), QStringLiteral("chkCancel"), tr("abort reporting"));
    // The abort boxes are read by the run once per section.
    connect(m_cancel, &QCheckBox::toggled, this, [this](bool on) { m_form.chkCancel = on ? 1 : 0; });
    connect(m_deleteOnCancel, &QCheckBox::toggled, this, [this](bool on) { m_form.chkDeleteOnCancel = on ? 1 : 0; });
    auto *layout = new QGridLayout(frame);
    layout->addWidget(status, 0, 0, 1, 5);
    layout->addWidget(m_totalPages, 1, 0);
    layout->addWidget(m_elapsedSeconds, 1, 1);
    layout->addWidget(m_curPage, 1, 2);
    layout->addWidget(m_deleteOnCancel, 1, 3);
    layout->addWidget(m_cancel, 1, 4);
    frame->hide();
    return frame;
}

void ReportWindow::followForm()
{
    connect(&m_form, &ReportForm::pageShown, this, &ReportWindow::showPage);
    connect(&m_form, &ReportForm::progress, this, &ReportWindow::showProgress);
    connect(&m_form, &ReportForm::closeRequested, this, &QDialog::accept);
    connect(&m_form, &ReportForm::advancedRequested, this, [this] {
        QPointer<AdvancedWindow> settings = new AdvancedWindow(m_form.settingsForm(), this);
        settings->showModal();
        delete settings.data();
    });
    connect(&m_form, &ReportForm::focusRequested, this, [this](const QString &name) {
        if (QWidget *target = findChild<QWidget *>(name))
            target->setFocus();
    });
}

void ReportWindow::showModal()
{
    m_form.ensureLoaded();
    pullFromForm();
    showPage();
    exec();
}

void ReportWindow::pushToForm()
{
    readList(m_available, m_form.lstAvailable);
    readList(m_output, m_form.lstOutput);
    m_form.lstOutputIndex = m_output->currentRow();
    m_form.txtTitle = m_title->text();
    m_form.txtFilename = m_fileName->text();
    m_form.chkInsert = m_insert->isChecked() ? 1 : 0;
    m_form.dtpInsert = m_date->date();
    m_form.cboBGcolor = m_color->currentText();
    m_form.chkBrowser = m_browser->isChecked() ? 1 : 0;
    m_form.chkPrinter = m_printer->isChecked() ? 1 : 0;
}

void ReportWindow::pullFromForm()
{
    setWindowTitle(m_form.caption);
    fillList(m_available, m_form.lstAvailable);
    fillList(m_output, m_form.lstOutput);
    m_output->setCurrentRow(m_form.lstOutputIndex, QItemSelectionModel::NoUpdate);
    m_title->setText(m_form.txtTitle);
    m_fileName->setText(m_form.txtFilename);
    m_insert->setChecked(m_form.chkInsert == 1);
    m_date->setDate(m_form.dtpInsert);
    m_color->setCurrentText(m_form.cboBGcolor);
    m_browser->setChecked(m_form.chkBrowser == 1);
    m_printer->setChecked(m_form.chkPrinter == 1);
    for (size_t i = 0; i < m_pageButtons.size(); ++i)
        m_pageButtons[i]->setEnabled(m_form.cmdPageEnabled[i]);
    m_page->setText(m_form.lblPage);
    showProgress();
}

void ReportWindow::showPage()
{
    // Pictures are loaded while the page is drawn: that can take a moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->setPage(m_form);
    m_grid->resizeColumnsToContents();
    m_grid->resizeRowsToContents();
    QGuiApplication::restoreOverrideCursor();
    m_page->setText(m_form.lblPage);
}

void ReportWindow::showProgress()
{
    m_frame1->setVisible(m_form.Frame1Visible);
    m_frame2->setVisible(m_form.Frame2Visible);
    m_frame3->setVisible(m_form.Frame3Visible);
    m_totalPages->setText(m_form.lblTotalPages);
    m_elapsedSeconds->setText(m_form.lblElapsedSeconds);
    m_curPage->setText(m_form.lblCurPage);
    const QSignalBlocker blockCancel(m_cancel);
    const QSignalBlocker blockDelete(m_deleteOnCancel);
    m_cancel->setChecked(m_form.chkCancel != 0);
    m_deleteOnCancel->setChecked(m_form.chkDeleteOnCancel != 0);
}

void ReportWindow::reject()
{
    if (!m_form.isRunning())
        pushToForm();
    m_form.requestClose();
}

void ReportWindow::closeEvent(QCloseEvent *event)
{
    if (m_form.isRunning()) {
        event->ignore();
        m_form.requestClose();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zuvexal::ui
