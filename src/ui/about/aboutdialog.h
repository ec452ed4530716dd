#pragma once

#include <QDialog>

class QLabel;

namespace zuvexal {
struct LinkState;
}

namespace zuvexal::ui {

// The product information box: name, version, description and the maker's
// web and e-mail links. OK answers Enter and Esc.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(LinkState &links, QWidget *parent = nullptr);

    void showModal() { exec(); }

    // lblZu(Index): 0 the web address, 1 the e-mail address.
    void lblZu_Click(int Index);

private:
    LinkState &m_links;
};

} // namespace zuvexal::ui
