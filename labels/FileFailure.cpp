#include "FileFailure.h"

#include "ErrorText.h"

#include <QFileDevice>

namespace corvane {

Failure fileFailure(const QString &what, const QFileDevice &file, bool writing)
{
    const QString detail = file.errorString();
    QString reason = fileFailureText(file, writing);
    // The reason ends with the detail's line, which Failure::text() writes again.
    if (const QString line = detailLine(detail); !line.isEmpty())
        reason.chop(line.size() + 1);
    return Failure{what + u'\n' + reason, detail};
}

} // namespace corvane
