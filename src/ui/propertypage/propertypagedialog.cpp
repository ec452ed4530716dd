#include "ui/propertypage/propertypagedialog_p.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zuvexal::ui {

PropertyPageDialog::PropertyPageDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VexalProps"));
    setWindowTitle(tr("ZuVexalProps"));
    m_interval = new QLineEdit(this);
    m_interval->setObjectName(QStringLiteral("txtInterval"));
    m_doTimer = new QCheckBox(tr("DoTimer"), this);
    m_doTimer->setObjectName(QStringLiteral("chkDoTimer"));
    m_enabled = new QCheckBox(tr("Enabled"), this);
    m_enabled->setObjectName(QStringLiteral("chkEnabled"));
    m_tag = new QLineEdit(this);
    m_tag->setObjectName(QStringLiteral("txtTag"));
    m_records = new QComboBox(this);
    m_records->setObjectName(QStringLiteral("cmbMaxRecsPerPage"));
    for (qsizetype i = 0; i < PropertyPage::RecordsPerPageTexts.size(); ++i)
        m_records->addItem(PropertyPage::RecordsPerPageTexts[i], PropertyPage::RecordsPerPageValues[i]);
    m_company = new QPlainTextEdit(this);
    m_company->setObjectName(QStringLiteral("txtDeveloperCompany"));
    m_company->setMaximumHeight(60);
    auto *notice = new QLabel(tr("DeveloperCompany can be set at design time only; it names the "
                                 "organisation in the report window caption."),
                              this);
    notice->setObjectName(QStringLiteral("lblCompany"));
    notice->setWordWrap(true);

    auto *form = new QFormLayout;
    // Labels carry names too, so a host's tools and tests find them.
    const auto labelled = [this, form](const char *name, const QString &text, QWidget *field) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setBuddy(field);
        form->addRow(label, field);
    };
    labelled("lblInterval", tr("Interval:"), m_interval);
    form->addRow(QString(), m_doTimer);
    form->addRow(QString(), m_enabled);
    labelled("lblTag", tr("Tag:"), m_tag);
    labelled("lblMaxRecsPerPage", tr("MaxRecsPerPage:"), m_records);
    labelled("lblDeveloperCompany", tr("Developer Company:"), m_company);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel,
                                         this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(notice);
    layout->addWidget(buttons);

    auto changed = [this] { m_page.edited(); };
    connect(m_interval, &QLineEdit::textChanged, this, changed);
    connect(m_tag, &QLineEdit::textChanged, this, changed);
    connect(m_company, &QPlainTextEdit::textChanged, this, changed);
    connect(m_records, &QComboBox::currentTextChanged, this, changed);
    connect(m_doTimer, &QCheckBox::clicked, this, changed);
    connect(m_enabled, &QCheckBox::clicked, this, changed);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { applyChanges(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (applyChanges())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QWidget *box : std::initializer_list<QWidget *>{m_interval, m_tag, m_company, m_records})
        box->installEventFilter(this);
}

void PropertyPageDialog::setControl(QObject *control)
{
    m_control = control;
    if (!m_page.fill(control))
        return;
    m_interval->setText(m_page.txtInterval);
    m_doTimer->setChecked(m_page.chkDoTimer == 1);
    m_enabled->setChecked(m_page.chkEnabled == 1);
    m_tag->setText(m_page.txtTag);
    m_records->setCurrentIndex(m_page.cmbMaxRecsPerPage);
    m_company->setPlainText(m_page.txtDeveloperCompany);
}

void PropertyPageDialog::pushToPage()
{
    m_page.txtInterval = m_interval->text();
    m_page.chkDoTimer = m_doTimer->isChecked() ? 1 : 0;
    m_page.chkEnabled = m_enabled->isChecked() ? 1 : 0;
    m_page.txtTag = m_tag->text();
    m_page.cmbMaxRecsPerPage = m_records->currentIndex();
    m_page.txtDeveloperCompany = m_company->toPlainText();
}

bool PropertyPageDialog::applyChanges()
{
    pushToPage();
    if (!m_page.apply(m_control))
        return false;
    if (applied)
        applied(m_control);
    return true;
}

bool PropertyPageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_records) {
            m_page.cmbMaxRecsPerPage = m_records->currentIndex();
            m_page.cmbMaxRecsPerPage_GotFocus();
        }
        else if (auto *line = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, line, &QLineEdit::selectAll);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(watched))
            QTimer::singleShot(0, text, &QPlainTextEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == m_records) {
            m_page.cmbMaxRecsPerPage = m_records->currentIndex();
            m_page.cmbMaxRecsPerPage_LostFocus();
        }
        // An interval out of range keeps the focus in its box.
        if (watched == m_interval && !PropertyPage::intervalAcceptable(m_interval->text()))
            QTimer::singleShot(0, m_interval, [this] { m_interval->setFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zuvexal::ui
