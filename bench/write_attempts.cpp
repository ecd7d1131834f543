// Tries every kind of write the program makes (save, registration, deletion, company) on the
// Data.mde of DATA_FOLDER and prints what each reported. Exit status 0 when every one of them
// failed with exactly one message and that message contains EXPECTED, as it must on a
// read-only file or folder or a full disk. Usage: write_attempts DATA_FOLDER EXPECTED
#include "Catalogue.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "ErrorBoundary.h"
#include "MessageBox.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace corvane;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    auto opened = openDatabaseFile(app.arguments().value(1) + QStringLiteral("/Data.mde"));
    if (!opened) {
        out << "open: " << opened.errorText() << '\n';
        return 1;
    }
    auto db = std::move(*opened);
    const QString expected = app.arguments().value(2);
    if (expected.isEmpty()) {
        out << "usage: write_attempts DATA_FOLDER EXPECTED\n";
        return 2;
    }
    QStringList messages;
    setMessageHandler([&](const MessageRecord &message) {
        messages << message.text;
        return MsgResult::Ok;
    });
    const std::pair<const char *, std::function<void()>> attempts[] = {
        {"save",
         [&] {
             savedOrThrow(catalogue::saveProduct(*db, 1, {1, 2}, {QStringLiteral("製品"), {}, {}, 0}));
         }},
        {"registration", [&] { savedOrThrow(catalogue::registerProduct(*db, QStringLiteral("新製品"))); }},
        {"deletion", [&] { savedOrThrow(catalogue::deleteProductWithEntries(*db, 1)); }},
        {"company",
         [&] {
             savedOrThrow(catalogue::writeCompany(*db, {QStringLiteral("会社"), {}, {}}));
         }},
    };
    int asExpected = 0;
    for (const auto &[what, attempt] : attempts) {
        messages.clear();
        guarded(nullptr, attempt);
        const bool ok = messages.size() == 1 && messages.front().contains(expected);
        asExpected += ok ? 1 : 0;
        out << what << (ok ? ": reported: " : ": NOT AS EXPECTED: ")
            << (messages.isEmpty() ? QStringLiteral("(no message)") : messages.join(QLatin1String(" | ")))
                   .replace(QLatin1Char('\n'), QLatin1String(" / "))
            << '\n';
    }
    out << asExpected << " of " << std::size(attempts) << " writes reported with \"" << expected << "\"\n";
    return asExpected == static_cast<int>(std::size(attempts)) ? 0 : 1;
}
