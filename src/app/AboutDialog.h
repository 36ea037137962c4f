#pragma once

#include <QDialog>

namespace vt {

// "Veltra Tube Printer": the program's icon, its version and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace vt
