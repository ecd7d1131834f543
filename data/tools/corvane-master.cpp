// Checks, exports, imports and reports the substance master:
//   corvane-master check FILE.tsv
//   corvane-master export [--data DIR]
//   corvane-master import FILE.tsv [--data DIR]
//   corvane-master report [--data DIR]
#include "Application.h"
#include "DataLocation.h"
#include "Database.h"
#include "ErrorText.h"
#include "ImportText.h"
#include "RunDatabase.h"
#include "MasterUpdate.h"
#include "ProgramMaster.h"
#include "UserMaster.h"

#include <QCommandLineParser>
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace corvane;

namespace {

// Messages may quote a file name or a row; a terminal gets no control character of theirs.
int failWith(const QString &message)
{
    QTextStream(stderr) << "corvane-master: " << printableOnTerminal(message) << '\n';
    return 1;
}

void tell(const QStringList &lines)
{
    QTextStream err(stderr);
    for (const QString &line : lines)
        err << "corvane-master: " << printableOnTerminal(line) << '\n';
}

// The file as text; nothing, with the reason, when it cannot be read or is not UTF-8.
std::optional<QString> readFile(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: ファイルを読み込めません。\n%2").arg(QDir::toNativeSeparators(fileName), fileFailureText(file, false));
        return std::nullopt;
    }
    MasterError notUtf8;
    const auto text = decodeUtf8File(file.readAll(), fileName, &notUtf8);
    if (!text)
        *error = describeMasterErrors({notUtf8});
    return text;
}

// Opens the folder's Data.mde and brings its master up to this program's, as every program
// that opens the database does.
std::unique_ptr<Database> openData(const QCommandLineParser &parser, QString *error)
{
    setDataOption(parser.value(QStringLiteral("data")));
    setDatabaseOption(parser.value(QStringLiteral("database")));
    auto db = openRunDatabase(locateData(), error);
    if (!db)
        return nullptr;
    const RunResult update = updateMasterAtStartUp(*db);
    tell(update.notices);
    if (!update.ok) {
        *error = update.error;
        return nullptr;
    }
    return db;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    useJapaneseTranslations(); // --help in Japanese
    QString error;
    const auto master = programMaster(&error);
    app.setApplicationVersion(QStringLiteral("%1（物質マスタ 版 %2）").arg(QStringLiteral(PROJECT_VERSION), master ? master->version : QStringLiteral("?")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Corvane の物質マスタを検査・書き出し・取り込み・一覧します。\n"
        "  check FILE.tsv    substances.tsv 形式のファイルをビルドと同じ規則で検査する（誤りは行番号付き、誤りがあれば終了状態 1）\n"
        "  export            データベースの物質マスタを substances.tsv 形式で標準出力に書く（利用者の物質に印）\n"
        "  import FILE.tsv   利用者の物質を取り込む（検査してから、控えを取って一つのトランザクションで）\n"
        "  report            物質マスタ全体を確認用の表（HTML）で標準出力に書く"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("data"),
                      QStringLiteral("Data.mde のあるフォルダ（既定: プログラムの隣の Data、"
                                     "インストール時は ~/.local/share/corvane/Data）。"),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("database"),
                      databaseOptionHelp(),
                      QStringLiteral("URI")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("check, export, import, report"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("check と import のファイル"), QStringLiteral("[FILE.tsv]"));
    parser.process(app);

    if (!master)
        return failWith(error);
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool takesFile = command == QLatin1String("check") || command == QLatin1String("import");
    const bool takesNone = command == QLatin1String("export") || command == QLatin1String("report");
    if (!(takesFile && args.size() == 2) && !(takesNone && args.size() == 1))
        return failWith(QStringLiteral("使い方: corvane-master check FILE.tsv | export | import FILE.tsv | report [--data DIR]（--help で説明）"));

    QString text;
    if (takesFile) {
        const auto file = readFile(args[1], &error);
        if (!file && command == QLatin1String("import"))
            return failWith(QStringLiteral("ファイルに誤りがあるため、何も取り込みませんでした。\n") + error);
        if (!file)
            return failWith(error);
        text = *file;
    }
    if (command == QLatin1String("check")) {
        const std::vector<MasterError> errors = checkSubstanceFile(*master, text, args[1]);
        if (!errors.empty())
            return failWith(QStringLiteral("%1件の誤りがあります。\n").arg(errors.size()) + describeMasterErrors(errors));
        QTextStream(stdout) << printableOnTerminal(QStringLiteral("誤りはありません: %1\n").arg(QDir::toNativeSeparators(args[1])));
        return 0;
    }

    auto db = openData(parser, &error);
    if (!db)
        return failWith(error);
    QString output;
    RunResult result;
    if (command == QLatin1String("export"))
        result = exportMaster(*db, &output);
    else if (command == QLatin1String("report"))
        result = masterReport(*db, &output);
    else
        result = importSubstances(*db, *master, text, args[1], QDateTime::currentDateTime());
    if (!result.ok)
        return failWith(result.error);
    QTextStream out(stdout);
    out << output;
    for (const QString &line : result.notices)
        out << printableOnTerminal(line) << '\n';
    out.flush();
    return out.status() == QTextStream::Ok ? 0 : failWith(QStringLiteral("標準出力に書き込めません。"));
}
