// Prints one product's labels (or the list of all target substances) straight into a PDF,
// for batch work and automation:
//   corvane-print --product ID --kind K [--single 0|1] [--start N] [--offset X,Y] --output FILE.pdf [--data DIR]
//   corvane-print --list [--data DIR]   (each product's ID and name, the IDs --product takes)
// Exit status: 0 printed; 1 nothing printed (the message on standard error); 3 printed, but
// some text did not fit its field, or the labels lack something (a substance left out, an
// empty supplier): each listed on standard error; 4 substances the master lacks were left out
// (each named on standard error), nothing printed when none was left; 5 (kinds 6 and 7) the
// product's contents cannot be classified as a mixture (a missing content, one outside 0–100 %,
// contents over 100 %): nothing printed, the substances named on standard error.
#include "Application.h"
#include "Catalogue.h"
#include "DailyBackup.h"
#include "DataLocation.h"
#include "Database.h"
#include "RunDatabase.h"
#include "DbError.h"
#include "ImportText.h"
#include "MasterUpdate.h"
#include "OutputCheck.h"
#include "PrintLabels.h"
#include "ReportEngine.h"
#include "Translations.h"

#include <QGuiApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <map>
#include <cmath>

using namespace corvane;

namespace {

// Printed, but text was left out of some fields or the labels lack something.
constexpr int kExitTextCut = 3;
// Substances the master lacks were left out; printed only when some were left.
constexpr int kExitSubstancesMissing = 4;
// The contents of the product were refused by the mixture rules; nothing printed.
constexpr int kExitContentsRefused = 5;

int failWith(const QString &message)
{
    QTextStream(stderr) << "corvane-print: " << message << '\n';
    return 1;
}

// "X,Y" in millimetres, each from -5.0 to +5.0, as 0.1 mm.
std::optional<QPointF> offsetOption(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool okX = false, okY = false;
    const double x = parts[0].trimmed().toDouble(&okX), y = parts[1].trimmed().toDouble(&okY);
    if (!okX || !okY || std::abs(x) > 5.0 || std::abs(y) > 5.0)
        return std::nullopt;
    return QPointF(std::round(x * 10), std::round(y * 10));
}

std::optional<int> integerOption(const QCommandLineParser &parser, const QString &name)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// What the main menu would pass: always one substance on the model label, never on the list
// of all target substances, and on the others for a single-substance product (ItemType other
// than 0).
bool defaultSingle(Database &db, int productId, LabelKind kind)
{
    if (kind == LabelKind::Model)
        return true;
    if (kind == LabelKind::AllSubstances)
        return false;
    const auto product = catalogue::productById(db, productId);
    return !(product && product->itemType.value_or(1) == 0);
}

// Every product as "ID<TAB>name", by ID: the IDs a user gives --product.
void listProducts(Database &db)
{
    std::map<int, QString> namesById;
    for (const ProductRecord &product : catalogue::allProducts(db))
        namesById.emplace(product.id, product.nameText());
    QTextStream out(stdout);
    for (const auto &[id, name] : namesById)
        out << id << '\t' << printableOnTerminal(name) << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts and pictures need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationVersion(Application::version());
    useJapaneseTranslations(); // --help in Japanese

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Corvane のラベルを PDF ファイルに印刷します。\n"
        "終了状態: 0 印刷した。1 印刷しなかった（理由は標準エラー出力）。3 印刷したが、最小の文字サイズでも\n"
        "枠に収まらない文字を省いた、危険有害性情報がラベルに入らない物質を印刷しなかった、または供給者の欄が\n"
        "空である（それぞれを標準エラー出力に書く）。4 物質マスタにない物質を省いた（その番号を標準エラー出力に\n"
        "書く。残る物質がなければ印刷しない）。"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("list"),
         QStringLiteral("登録されている製品の ID と製品名を、ID の順に1行ずつ（タブ区切りで）書く。"
                        "印刷はしない。")},
        {QStringLiteral("product"), QStringLiteral("製品 ID（--list で分かる。-1: 全対象物質）。"),
         QStringLiteral("ID")},
        {QStringLiteral("kind"),
         QStringLiteral(
             "ラベルの種類 1〜7（1 通常、2 モデル、3 追加 2×6、4 全対象物質、5 追加 3×7、6 混合物のラベル、7 分類の根拠）。"),
         QStringLiteral("K")},
        {QStringLiteral("single"), QStringLiteral("1: 1 物質でページを埋める（既定: 製品の種類から）。"),
         QStringLiteral("0|1")},
        {QStringLiteral("start"),
         QStringLiteral("種類 3, 4, 5: 1 枚目で印刷を始めるラベルの位置"
                        "（左上から行ごとに数える。既定 1）。"),
         QStringLiteral("N")},
        {QStringLiteral("offset"),
         QStringLiteral("すべてを右へ X mm、下へ Y mm ずらす（それぞれ -5.0〜5.0）。"
                        "PDF を使うプリンタの位置ずれを補う。指定しなければずらさない。"),
         QStringLiteral("X,Y")},
        {QStringLiteral("output"), QStringLiteral("書き出す PDF ファイル。"), QStringLiteral("FILE")},
        {QStringLiteral("data"),
         QStringLiteral("Data.mde のあるフォルダ（既定: プログラムの隣の Data、"
                        "インストール時は ~/.local/share/corvane/Data）。"),
         QStringLiteral("DIR")},
        {QStringLiteral("database"), databaseOptionHelp(), QStringLiteral("URI")},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return failWith(
            QStringLiteral("余分な引数があります: %1").arg(parser.positionalArguments().join(QLatin1Char(' '))));
    for (const QString &name : parser.optionNames())
        if (parser.values(name).size() > 1)
            return failWith(QStringLiteral("--%1 が2回以上指定されています。").arg(name));

    const bool list = parser.isSet(QStringLiteral("list"));
    for (const char *printing : {"product", "kind", "single", "start", "offset", "output"})
        if (list && parser.isSet(QString::fromLatin1(printing)))
            return failWith(
                QStringLiteral("--list と --%1 は一緒に指定できません。").arg(QString::fromLatin1(printing)));
    const auto product = integerOption(parser, QStringLiteral("product"));
    const auto kindNumber = integerOption(parser, QStringLiteral("kind"));
    const auto kind = kindNumber ? labelKindFromNumber(*kindNumber) : std::nullopt;
    const QString output = parser.value(QStringLiteral("output"));
    if (!list && (!product || !kind || output.isEmpty()))
        return failWith(QStringLiteral("--product ID、--kind 1〜7、--output FILE を指定してください。"));
    std::optional<int> single;
    if (parser.isSet(QStringLiteral("single"))) {
        single = integerOption(parser, QStringLiteral("single"));
        if (!single || (*single != 0 && *single != 1))
            return failWith(QStringLiteral("--single には 0 か 1 を指定してください。"));
    }

    PrintOptions options;
    if (parser.isSet(QStringLiteral("start"))) {
        const auto start = integerOption(parser, QStringLiteral("start"));
        if (!start || *start < 1 || *start > labelsPerSheet(*kind))
            return failWith(QStringLiteral("--start には種類 %2 のラベルの位置 1〜%1 を指定してください。")
                                .arg(labelsPerSheet(*kind))
                                .arg(labelKindNumber(*kind)));
        options.startPosition = *start;
    }

    std::optional<QPointF> offset;
    if (parser.isSet(QStringLiteral("offset"))) {
        offset = offsetOption(parser.value(QStringLiteral("offset")));
        if (!offset)
            return failWith(
                QStringLiteral("--offset には X,Y をミリメートルで指定してください（それぞれ -5.0〜5.0）。"));
    }

    setDataOption(parser.value(QStringLiteral("data")));
    const DataLocation location = locateData();
    // Neither the user's data nor the program's sheets and pictures may be written over.
    if (const QString refusal = list ? QString() : outputRefusal(output, location); !refusal.isEmpty())
        return failWith(refusal);
    setDatabaseOption(parser.value(QStringLiteral("database")));
    auto opened = openRunDatabase(location);
    if (!opened)
        return failWith(opened.errorText());
    auto db = std::move(*opened);
    // The day's backup comes first: the master update is the first thing that may write.
    if (const Outcome backup = takeDailyBackup(*db); !backup)
        QTextStream(stderr) << "corvane-print: " << backup.errorText() << '\n';
    for (const QString &line :
         masterUpdateMessage(updateMasterAtStartUp(*db)).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QTextStream(stderr) << "corvane-print: " << line << '\n';
    if (list) {
        try {
            listProducts(*db);
        } catch (const DbError &error) {
            return failWith(QStringLiteral("データベースのエラーです。\n") + QString::fromUtf8(error.what()));
        }
        return 0;
    }
    ReportEngine engine;
    engine.setDataFolder(location.resourceFolder);
    engine.setPdfOutput(output);
    if (offset)
        engine.renderer().setOffset(*offset);
    PrintResult result;
    try {
        const bool oneSubstance = single ? *single == 1 : defaultSingle(*db, *product, *kind);
        result = PrintLabels(*db, *product, *kind, oneSubstance, engine, options);
    } catch (const DbError &error) {
        result.outcome =
            Outcome::failed(QStringLiteral("データベースのエラーです。\n") + QString::fromUtf8(error.what()));
    }
    QTextStream err(stderr);
    for (const QString &warning : result.warnings)
        err << "corvane-print: " << warning << '\n';
    if (!result.outcome) { // a failed print leaves the output path as it was
        failWith(result.outcome.errorText());
        if (!result.refused.isEmpty())
            return kExitContentsRefused;
        return result.missing.isEmpty() ? 1 : kExitSubstancesMissing;
    }
    for (const QString &line : result.incomplete)
        err << "corvane-print: " << line << '\n';
    if (!result.cut.isEmpty()) {
        err << "corvane-print: 次の文字が枠に収まりませんでした:\n";
        for (const CutText &cut : result.cut)
            err << "  " << describeCut(cut) << '\n';
    }
    if (!result.missing.isEmpty())
        return kExitSubstancesMissing;
    return result.cut.isEmpty() && result.incomplete.isEmpty() ? 0 : kExitTextCut;
}
