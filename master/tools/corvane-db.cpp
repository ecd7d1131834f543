// Sets up a PostgreSQL database that several PCs share:
//   corvane-db init URI                   the tables and the program's substance master
//   corvane-db copy --from DIR --to URI   the products and everything else of a Data.mde
#include "Application.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "ProgramMaster.h"
#include "ServerAddress.h"
#include "ServerSetup.h"

#include <QCommandLineParser>
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace corvane;

namespace {

int report(const RunResult &result)
{
    QTextStream err(stderr);
    for (const QString &line : result.notices)
        err << "corvane-db: " << line << '\n';
    if (result.outcome)
        return 0;
    err << "corvane-db: " << result.outcome.errorText() << '\n';
    return 1;
}

int failWith(const Failure &failure) { return report({failure, {}}); }

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-db"));
    QCoreApplication::setApplicationVersion(Application::version());
    useJapaneseTranslations(); // --help in Japanese
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "複数の PC で共有する PostgreSQL のデータベースを準備します。\n"
        "  init URI                   空のデータベースに表を作り、物質マスタを入れる\n"
        "  copy --from DIR --to URI   DIR の Data.mde（製品、会社情報、利用者の物質）を空のデータベースに写す\n"
        "URI: postgresql://USER@HOST:PORT/DBNAME（ソケットのフォルダは %2F で書くか ?host=/フォルダ）。\n"
        "パスワードは ~/.pgpass か環境変数 PGPASSWORD で渡す。終了状態: 0 できた、1 できなかった（何も変えていない）。"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("from"), QStringLiteral("copy: 写す Data.mde のあるフォルダ。"), QStringLiteral("DIR")},
        {QStringLiteral("to"), QStringLiteral("copy: 写し先のデータベースの URI。"), QStringLiteral("URI")},
    });
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init か copy"));
    parser.addPositionalArgument(QStringLiteral("uri"), QStringLiteral("init: データベースの URI"),
                                 QStringLiteral("[URI]"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const auto master = programMaster();
    if (!master)
        return failWith(master.failure());

    if (command == QLatin1String("init") && args.size() == 2 && !parser.isSet(QStringLiteral("from"))
        && !parser.isSet(QStringLiteral("to"))) {
        const auto address = parseServerUri(args[1]);
        return address ? report(initServerDatabase(*address, *master)) : failWith(address.failure());
    }
    if (command == QLatin1String("copy") && args.size() == 1 && parser.isSet(QStringLiteral("from"))
        && parser.isSet(QStringLiteral("to"))) {
        const auto address = parseServerUri(parser.value(QStringLiteral("to")));
        if (!address)
            return failWith(address.failure());
        const QString file = QDir(parser.value(QStringLiteral("from"))).absoluteFilePath(QStringLiteral("Data.mde"));
        const auto source = openDatabaseFile(file);
        return source ? report(copyToServer(**source, *address, *master)) : failWith(source.failure());
    }
    return failWith(
        {QStringLiteral("使い方: corvane-db init URI か corvane-db copy --from DIR --to URI（corvane-db --help）")});
}
