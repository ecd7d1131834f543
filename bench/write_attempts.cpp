// Tries every kind of write the program makes (save, registration, deletion, company) on the
// Data.mde of DATA_FOLDER and prints what each reported. Exit status 0 when every one of them
// failed with a message, as it must on a read-only file or folder.
#include "Catalogue.h"
#include "Database.h"
#include "ErrorBoundary.h"
#include "MessageBox.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace corvane;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QString error;
    auto db = Database::open(app.arguments().value(1) + QStringLiteral("/Data.mde"), &error);
    if (!db) {
        out << "open: " << error << '\n';
        return 1;
    }
    int reported = 0;
    setMessageHandler([&](const MessageRecord &message) {
        out << "  " << QString(message.text).replace(QLatin1Char('\n'), QLatin1String(" / ")) << '\n';
        ++reported;
        return MsgResult::Ok;
    });
    const std::pair<const char *, std::function<void()>> attempts[] = {
        {"save", [&] { catalogue::saveProduct(*db, 1, {1, 2}, {QStringLiteral("製品"), {}, {}, 0}); }},
        {"registration", [&] { catalogue::registerProduct(*db, QStringLiteral("新製品")); }},
        {"deletion", [&] { catalogue::deleteProductWithEntries(*db, 1); }},
        {"company", [&] { catalogue::writeCompany(*db, {QStringLiteral("会社"), {}, {}}); }},
    };
    for (const auto &[what, attempt] : attempts) {
        out << what << ":\n";
        out.flush();
        guarded(nullptr, attempt);
    }
    return reported == static_cast<int>(std::size(attempts)) ? 0 : 1;
}
