#pragma once

#include <QDialog>

class QLabel;

namespace zuvexal::ui {

// The product information box: name, version, description and the maker's
// web and e-mail links. OK answers Enter and Esc.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // lblZu(Index): 0 the web address, 1 the e-mail address.
    void lblZu_Click(int Index);
};

} // namespace zuvexal::ui
