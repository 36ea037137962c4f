#include "app/KetraTestDlg.h"

#include "app/AppColors.h"

namespace vt {

CKetraTestDlg::CKetraTestDlg(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vt350 Tube Printer_P1.03"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, backgroundColor());
    setPalette(pal);
    setAutoFillBackground(true);
    resize(1100, 700);
}

} // namespace vt
