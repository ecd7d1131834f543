// The subject of the kill and disk-full tests. "save_loop DATA_FOLDER prepare" makes two
// products of 3,000 substances; "save_loop DATA_FOLDER run" saves them again and again, each
// save with new content, printing "ID VERSION" after each save, until it is killed;
// "save_loop DATA_FOLDER once VERSION" saves both once; "save_loop DATA_FOLDER check"
// verifies that every product holds exactly the content of one whole save and that the file
// is intact, and prints "ID VERSION" for each.
#include "BigMaster.h"
#include "Catalogue.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "DbError.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTextStream>

using namespace corvane;

namespace {

constexpr int kSubstances = 3000;

// The content of save number version: a different set of substances for each version.
std::vector<int> contentOf(int version)
{
    std::vector<int> numbers;
    const int step = 1 + version % 7;
    for (int i = 1 + version % 3; i <= kSubstances; i += step)
        numbers.push_back(i);
    return numbers;
}

Outcome save(Database &db, int id, int version)
{
    return catalogue::saveProduct(
               db, id, contentOf(version),
               {QStringLiteral("製品%1").arg(id), QStringLiteral("version %1").arg(version), {}, version % 2})
        .outcome();
}

int failed(const Failure &failure)
{
    QTextStream(stderr) << failure.text() << '\n';
    return 1;
}

int check(Database &db)
{
    QSqlQuery integrity(db.sql());
    if (!integrity.exec(QStringLiteral("PRAGMA integrity_check")) || !integrity.next()
        || integrity.value(0).toString() != QLatin1String("ok")) {
        QTextStream(stdout) << "integrity_check failed\n";
        return 1;
    }
    for (int id : {1, 2}) {
        const auto product = catalogue::productWithEntries(db, id);
        if (!product) {
            QTextStream(stdout) << "product " << id << " lost\n";
            return 1;
        }
        const int version = product->product.notesText().mid(8).toInt();
        const std::vector<int> stored = product->substanceNumbers();
        if (stored != contentOf(version) || product->product.itemCount != static_cast<int>(stored.size())) {
            QTextStream(stdout) << "product " << id << " does not hold version " << version << " whole\n";
            return 1;
        }
        QTextStream(stdout) << id << ' ' << version << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: save_loop DATA_FOLDER prepare|run|check|once VERSION\n";
        return 2;
    }
    const QString folder = args[1];
    QString error;
    if (args[2] == QLatin1String("prepare") && !makeBigDataFolder(folder, kSubstances, &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    auto opened = openDatabaseFile(folder + QStringLiteral("/Data.mde"));
    if (!opened) {
        QTextStream(stderr) << opened.errorText() << '\n';
        return 1;
    }
    auto db = std::move(*opened);
    try {
        if (args[2] == QLatin1String("prepare")) {
            for (int id : {1, 2}) {
                if (const auto registered = catalogue::registerProduct(*db, QStringLiteral("製品%1").arg(id));
                    !registered)
                    return failed(registered.failure());
                if (const Outcome saved = save(*db, id, 0); !saved)
                    return failed(saved.failure());
            }
            return 0;
        }
        if (args[2] == QLatin1String("check"))
            return check(*db);
        if (args[2] == QLatin1String("once")) {
            for (int id : {1, 2})
                if (const Outcome saved = save(*db, id, args.value(3).toInt()); !saved)
                    return failed(saved.failure());
            return 0;
        }
        QTextStream out(stdout);
        for (int version = 1;; ++version)
            for (int id : {1, 2}) {
                if (const Outcome saved = save(*db, id, version); !saved)
                    return failed(saved.failure());
                out << id << ' ' << version << Qt::endl; // flushed: the test reads what was saved
            }
    } catch (const DbError &e) { // a read of the check
        return failed(e.failure());
    }
}
