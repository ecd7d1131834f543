#include "ErrorBoundary.h"

namespace corvane {

void reportError(QWidget *parent, const std::exception &error)
{
    const QString lead = dynamic_cast<const DbError *>(&error) ? QStringLiteral("データベースのエラーです。")
                                                               : QStringLiteral("エラーが発生しました。");
    MsgBox(parent, lead + QStringLiteral("\n") + QString::fromUtf8(error.what()));
}

} // namespace corvane
