#pragma once

#include <QDialog>

namespace vt {

// "Veltra Tube Printer": the program's icon, its version and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

} // namespace vt
