#pragma once

#include "model/PageRecord.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace vt {

// The pages a setting rule refused, one line each, for the details of the
// rule's message: which page, and for a page too long, which line and by how
// many millimetres.
class RefusalDetails {
    Q_DECLARE_TR_FUNCTIONS(vt::RefusalDetails)

public:
    // The page as measured at the refused setting, before it is put back.
    void tooLong(int row, const PageRecord &page);
    void refused(int row, const QString &reason);

    QString text() const { return lines_.join(QLatin1Char('\n')); }

private:
    QStringList lines_;
};

} // namespace vt
