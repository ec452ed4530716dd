#include "ui/about/aboutdialog.h"

#include "core/base/product.h"
#include "core/control/version_p.h"
#include "core/links/linkactivation_p.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuvexal::ui {

namespace {

QLabel *linkLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setObjectName(name);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

AboutDialog::AboutDialog(LinkState &links, QWidget *parent) : QDialog(parent), m_links(links)
{
    setObjectName(QStringLiteral("VexalAbout"));
    setWindowTitle(tr("Quorvane Vexal ActiveX Control"));
    setModal(true);
    auto *title = new QLabel(QStringLiteral("<h2>ZuVexal</h2>"), this);
    auto *version = new QLabel(componentVersionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto *info = new QLabel(tr("A powerful OCX functioning as a Timer, File Dialogbox, Hyperlinker and "
                               "real-time Database Reporter.\nA Qt component for Linux hosts; "
                               "free to use in your applications."),
                            this);
    info->setObjectName(QStringLiteral("lblInfo"));
    info->setWordWrap(true);
    const QStringList targets{ProductWebsite, ProductEmail};
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(info);
    for (int i = 0; i < 2; ++i) {
        QLabel *link = linkLabel(QStringLiteral("lblZu%1").arg(i), targets[i], this);
        connect(link, &QLabel::linkActivated, this, [this, i] { lblZu_Click(i); });
        layout->addWidget(link);
    }
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void AboutDialog::lblZu_Click(int Index)
{
    const QStringList targets{ProductWebsite, ProductEmail};
    if (Index == 0 || Index == 1)
        ActivateLink(m_links, qint16(Index), targets[Index], false);
}

} // namespace zuvexal::ui
