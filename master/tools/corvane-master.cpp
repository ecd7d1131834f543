// Checks, exports, imports and reports the substance master:
//   corvane-master check FILE.tsv
//   corvane-master export [--data DIR]
//   corvane-master import FILE.tsv [--data DIR]
//   corvane-master report [--data DIR]
//   corvane-master build-from-government NITE.xlsx LEGAL.xlsx... --output DIR [--master DIR]
//   corvane-master update-from NITE.xlsx [LEGAL.xlsx...] [--data DIR] [--apply]
#include "Application.h"
#include "DataLocation.h"
#include "Database.h"
#include "ErrorText.h"
#include "ImportText.h"
#include "GovernmentMaster.h"
#include "GovernmentUpdate.h"
#include "LegalList.h"
#include "NiteList.h"
#include "RunDatabase.h"
#include "MasterUpdate.h"
#include "ProgramMaster.h"
#include "UserMaster.h"

#include <QCommandLineParser>
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
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

// The file as text; fails when it cannot be read or is not UTF-8.
Result<QString> readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("%1: ファイルを読み込めません。\n%2")
                           .arg(QDir::toNativeSeparators(fileName), fileFailureText(file, false))};
    MasterError notUtf8;
    const auto text = decodeUtf8File(file.readAll(), fileName, &notUtf8);
    if (!text)
        return Failure{describeMasterErrors({notUtf8})};
    return *text;
}

// Opens the folder's Data.mde and brings its master up to this program's, as every program
// that opens the database does.
Result<std::unique_ptr<Database>> openData(const QCommandLineParser &parser)
{
    setDataOption(parser.value(QStringLiteral("data")));
    setDatabaseOption(parser.value(QStringLiteral("database")));
    auto db = openRunDatabase(locateData());
    if (!db)
        return db;
    const RunResult update = updateMasterAtStartUp(**db);
    tell(update.notices);
    if (!update.outcome)
        return update.outcome.failure();
    return db;
}

// Writes substances.tsv and classifications.tsv made from the government's workbooks into
// the output folder; the master whose numbers they keep is the program's, or --master's.
int buildFromGovernment(const QStringList &files, const QString &output, const QString &masterFolder)
{
    const auto master = masterFolder.isEmpty()
                            ? programMaster()
                            : loadMaster(masterFolder, QDir(masterFolder).filePath(QStringLiteral("../schema.sql")));
    if (!master)
        return failWith(master.errorText());
    const auto nite = ghs::readNiteList(files.front());
    if (!nite)
        return failWith(nite.errorText());
    const auto legal = ghs::readLegalLists(files.mid(1));
    if (!legal)
        return failWith(legal.errorText());
    const auto built =
        buildGovernmentMaster(*nite, *legal, master->substances, master->hazardText, master->precautionText);
    if (!built)
        return failWith(built.errorText());
    const QDir folder(output);
    const std::pair<QString, QString> outputs[] = {
        {QStringLiteral("substances.tsv"), substancesFileText(built->substances)},
        {QStringLiteral("classifications.tsv"), built->classificationsText}};
    for (const auto &[name, text] : outputs) {
        QSaveFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
            return failWith(
                QStringLiteral("ファイルを書き込めません: %1").arg(QDir::toNativeSeparators(folder.filePath(name))));
    }
    tell(built->summary);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    useJapaneseTranslations(); // --help in Japanese
    const auto master = programMaster();
    app.setApplicationVersion(
        QStringLiteral("%1（物質マスタ 版 %2）")
            .arg(QStringLiteral(PROJECT_VERSION), master ? master->version : QStringLiteral("?")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Corvane の物質マスタを検査・書き出し・取り込み・一覧します。\n"
        "  check FILE.tsv    substances.tsv 形式のファイルをビルドと同じ規則で検査する（誤りは行番号付き、誤りがあれば終了状態 1）\n"
        "  export            データベースの物質マスタを substances.tsv 形式で標準出力に書く（利用者の物質に印）\n"
        "  import FILE.tsv   利用者の物質を取り込む（検査してから、控えを取って一つのトランザクションで）\n"
        "  report            物質マスタ全体を確認用の表（HTML）で標準出力に書く\n"
        "  build-from-government NITE.xlsx LEGAL.xlsx... --output DIR\n"
        "                    政府の一覧（NITE 統合版 GHS 分類結果と厚生労働省の義務対象物質一覧）から\n"
        "                    substances.tsv と classifications.tsv を作って DIR に書く\n"
        "  update-from NITE.xlsx [LEGAL.xlsx...] [--apply]\n"
        "                    新しい政府の一覧で何が変わるかを表示する。--apply で反映する\n"
        "                    （控えを取って一つのトランザクションで。利用者の物質と製品はそのまま）"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("data"),
                      QStringLiteral("Data.mde のあるフォルダ（既定: プログラムの隣の Data、"
                                     "インストール時は ~/.local/share/corvane/Data）。"),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("database"), databaseOptionHelp(), QStringLiteral("URI")});
    parser.addOption({QStringLiteral("apply"), QStringLiteral("update-from の変更をデータベースに反映する。")});
    parser.addOption(
        {QStringLiteral("output"), QStringLiteral("build-from-government が書くフォルダ。"), QStringLiteral("DIR")});
    parser.addOption(
        {QStringLiteral("master"),
         QStringLiteral(
             "build-from-government が番号を引き継ぐ物質マスタのフォルダ（既定: このプログラムの物質マスタ）。"),
         QStringLiteral("DIR")});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("check, export, import, report, build-from-government, update-from"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("check と import のファイル"),
                                 QStringLiteral("[FILE.tsv]"));
    parser.process(app);

    if (!master)
        return failWith(master.errorText());
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == QLatin1String("build-from-government")) {
        if (args.size() < 3 || parser.value(QStringLiteral("output")).isEmpty())
            return failWith(QStringLiteral(
                "使い方: corvane-master build-from-government NITE.xlsx LEGAL.xlsx... --output DIR [--master DIR]"));
        return buildFromGovernment(args.mid(1), parser.value(QStringLiteral("output")),
                                   parser.value(QStringLiteral("master")));
    }
    if (command == QLatin1String("update-from")) {
        if (args.size() < 2)
            return failWith(
                QStringLiteral("使い方: corvane-master update-from NITE.xlsx [LEGAL.xlsx...] [--data DIR] [--apply]"));
        const auto db = openData(parser);
        if (!db)
            return failWith(db.errorText());
        const RunResult result = updateFromGovernment(
            **db, *master, args[1], args.mid(2), parser.isSet(QStringLiteral("apply")), QDateTime::currentDateTime());
        QTextStream out(stdout);
        for (const QString &line : result.notices)
            out << line << '\n';
        out.flush();
        return result.outcome ? 0 : failWith(result.outcome.errorText());
    }
    const bool takesFile = command == QLatin1String("check") || command == QLatin1String("import");
    const bool takesNone = command == QLatin1String("export") || command == QLatin1String("report");
    if (!(takesFile && args.size() == 2) && !(takesNone && args.size() == 1))
        return failWith(QStringLiteral(
            "使い方: corvane-master check FILE.tsv | export | import FILE.tsv | report [--data DIR]（--help で説明）"));

    QString text;
    if (takesFile) {
        const auto file = readFile(args[1]);
        if (!file && command == QLatin1String("import"))
            return failWith(QStringLiteral("ファイルに誤りがあるため、何も取り込みませんでした。\n")
                            + file.errorText());
        if (!file)
            return failWith(file.errorText());
        text = *file;
    }
    if (command == QLatin1String("check")) {
        const std::vector<MasterError> errors = checkSubstanceFile(*master, text, args[1]);
        if (!errors.empty())
            return failWith(QStringLiteral("%1件の誤りがあります。\n").arg(errors.size())
                            + describeMasterErrors(errors));
        QTextStream(stdout) << printableOnTerminal(
            QStringLiteral("誤りはありません: %1\n").arg(QDir::toNativeSeparators(args[1])));
        return 0;
    }

    const auto db = openData(parser);
    if (!db)
        return failWith(db.errorText());
    Result<QString> output = QString();
    RunResult result;
    if (command == QLatin1String("export"))
        output = exportMaster(**db);
    else if (command == QLatin1String("report"))
        output = masterReport(**db);
    else
        result = importSubstances(**db, *master, text, args[1], QDateTime::currentDateTime());
    if (!output)
        return failWith(output.errorText());
    if (!result.outcome)
        return failWith(result.outcome.errorText());
    QTextStream out(stdout);
    out << *output;
    for (const QString &line : result.notices)
        out << printableOnTerminal(line) << '\n';
    out.flush();
    return out.status() == QTextStream::Ok ? 0 : failWith(QStringLiteral("標準出力に書き込めません。"));
}
