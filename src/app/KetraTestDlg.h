#pragma once

#include "document/Job.h"

#include <QMainWindow>

namespace vt {

// The main window: owns the job for the whole run.
class CKetraTestDlg : public QMainWindow {
    Q_OBJECT
public:
    explicit CKetraTestDlg(QWidget *parent = nullptr);

    Job &job() { return job_; }

private:
    Job job_;
};

} // namespace vt
