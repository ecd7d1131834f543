#include "UserMaster.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "DbError.h"
#include "DialectSteps.h"
#include "GovernmentMaster.h"
#include "HazardClass.h"
#include "ImportText.h"
#include "MasterRows.h"
#include "MasterUpdate.h"
#include "MasterVersion.h"
#include "ProgramMaster.h"
#include "SchemaLookup.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>

#include <algorithm>

namespace corvane {
namespace {

const QString kUserMark = QStringLiteral("# 利用者の物質");

RunResult failure(const Failure &why) { return {why, {}}; }

QString storedCas(Database &db, int id)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT CAS FROM 表示物質 WHERE ID = ?"), {id});
    return query.next() ? query.value(0).toString().trimmed() : QString();
}

QString displayedVersionOf(Database &db) { return displayedVersion(storedMasterVersion(db)); }

// A stored row as the reader composed it: the fields that substances.tsv holds.
ComposedSubstance storedSubstance(const QSqlQuery &row)
{
    const auto text = [&row](const char *column) { return row.value(QString::fromUtf8(column)).toString(); };
    const auto list = [&](const char *column, QChar separator) {
        return text(column).split(separator, Qt::SkipEmptyParts);
    };
    ComposedSubstance s;
    s.id = row.value(QStringLiteral("ID")).toInt();
    s.name = text("物質名");
    s.cas = text("CAS");
    s.signalWord = text("注意喚起語：");
    for (int m = 1; m <= kPicturesPerSubstance; ++m)
        if (const QString picture = row.value(QStringLiteral("絵表示%1").arg(m)).toString(); !picture.isEmpty())
            s.pictures << picture;
    s.hazardCodes = list("Hコード", QLatin1Char(','));
    s.precautionCodes = list("Pコード", QLatin1Char(','));
    s.categories = list("区分", QLatin1Char(','));
    s.fillIns = list("差込", QLatin1Char('|'));
    s.aliases = list("別名", QLatin1Char('|'));
    for (SourceKind kind : {SourceKind::Nite, SourceKind::Mhlw, SourceKind::Eu})
        if (text("出典") == sourceKindName(kind))
            s.sourceKind = kind;
    s.sourceId = text("出典ID");
    s.sourceYear = row.value(QStringLiteral("出典年")).toInt();
    s.sourceNote = text("出典備考");
    s.sourceVersion = text("出典版");
    s.legalName = text("法令名称");
    s.legalSince = text("義務開始");
    s.labelCutoff = text("ラベル裾切値");
    s.sdsCutoff = text("SDS裾切値");
    s.legalNote = text("法令備考");
    return s;
}

QString htmlText(const QVariant &value)
{
    return value.toString().toHtmlEscaped().replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
}

} // namespace

namespace {

// The file's rows, read and checked as the build checks the program's master, after what a
// user's file must be besides (no control characters, sizes a label can print).
MasterSourceResult readUserFile(const ProgramMaster &master, const QString &text, const QString &fileName)
{
    MasterSourceResult read;
    read.errors = checkImportText(text, fileName);
    if (!read.errors.empty())
        return read; // not read further: no message repeats what the lines hold
    read = readMasterSource(master.hazardText, QStringLiteral("hazard_statements.tsv"), master.precautionText,
                            QStringLiteral("precautionary_statements.tsv"), text, fileName);
    for (MasterError &error : checkPrintableSizes(read.substances, sourceLinesOf(text), fileName))
        read.errors.push_back(std::move(error));
    return read;
}

} // namespace

std::vector<MasterError> checkSubstanceFile(const ProgramMaster &master, const QString &text, const QString &fileName)
{
    return readUserFile(master, text, fileName).errors;
}

Result<QString> exportMaster(Database &db)
{
    try {
        QStringList lines{
            QStringLiteral("# 物質マスタ（Data.mde から書き出したもの、版 %1）。形式は substances.tsv と同じ:")
                .arg(displayedVersionOf(db)),
            QStringLiteral("# ") + substanceSourceColumns().join(QStringLiteral("<TAB>")),
            QStringLiteral("# 「%1」の次の行は利用者が取り込んだ物質で、プログラムの更新では変わらない。")
                .arg(kUserMark)};
        for (QSqlQuery query = runSql(db, QStringLiteral("SELECT * FROM 表示物質 ORDER BY ID")); query.next();) {
            if (query.value(QStringLiteral("UserOwned")).toInt() != 0)
                lines << kUserMark;
            lines << substanceSourceLine(storedSubstance(query));
        }
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    } catch (const DbError &error) {
        return error.failure();
    }
}

RunResult importSubstances(Database &db, const ProgramMaster &master, const QString &text, const QString &fileName,
                           const QDateTime &now)
{
    const MasterSourceResult read = readUserFile(master, text, fileName);
    if (!read.errors.empty())
        return failure({QStringLiteral("ファイルに誤りがあるため、何も取り込みませんでした。\n")
                        + describeMasterErrors(read.errors)});
    const QHash<int, int> lineOf = sourceLinesOf(text);
    QString backup;
    try {
        // Not at the same time as a program's master update or another import.
        std::optional<Transaction> transaction;
        if (const Outcome begun = dialect::beginMasterWrite(db, storedMasterVersion(db), now, transaction, backup);
            !begun)
            return failure(begun.failure());
        // Checked under the lock: another import may have given a number its substance meanwhile.
        QStringList refused;
        for (const ComposedSubstance &row : read.substances) {
            const QString stored = storedCas(db, row.id);
            if (!stored.isEmpty() && stored != row.cas.trimmed())
                refused << QStringLiteral("%1 %2行目: 番号 %3 の CAS 番号「%4」が登録済みの物質の「%5」と違います。")
                               .arg(QDir::toNativeSeparators(fileName))
                               .arg(lineOf.value(row.id))
                               .arg(row.id)
                               .arg(row.cas, stored);
        }
        if (!refused.isEmpty()) {
            transaction.reset();
            discardBackup(backup);
            return failure({QStringLiteral("ファイルに誤りがあるため、何も取り込みませんでした。\n")
                            + refused.join(QLatin1Char('\n'))
                            + QStringLiteral("\n新しい物質は、最後の番号の次からの番号で加えてください。")});
        }
        QStringList added, changed;
        for (const ComposedSubstance &row : read.substances) {
            const auto before = storedOrigin(db, row.id);
            const RowOrigin mine{true, before ? before->masterNo : QVariant()};
            if (!putSubstance(db, row.id, row, mine)) {
                setOrigin(db, row.id, *before); // the same data: the row stays whose it was
            } else {
                // The label is now the user's: the government's classification no longer
                // describes it, so it is not kept beside it.
                runSql(db, QStringLiteral("DELETE FROM 物質分類 WHERE 物質ID = ?"), {row.id});
                (before ? changed : added) << QStringLiteral("  %1 %2").arg(row.id).arg(row.name);
            }
        }
        rewriteAllTargetsList(db);
        transaction->commit();

        RunResult result;
        result.notices << QStringLiteral("追加した物質: %1件").arg(added.size()) << added
                       << QStringLiteral("変更した物質: %1件").arg(changed.size()) << changed;
        if (added.isEmpty() && changed.isEmpty())
            discardBackup(backup); // nothing changed, so there is nothing to go back to
        else if (!backup.isEmpty()) {
            result.notices
                << QStringLiteral("取り込む前のデータベースの控え: %1").arg(QDir::toNativeSeparators(backup));
            pruneWriteBackups(QFileInfo(backup).absolutePath(), now);
        }
        return result;
    } catch (const std::exception &error) {
        if (!backup.isEmpty())
            discardBackup(backup);
        return failure(failureOf(error).after(QStringLiteral("取り込めませんでした。データベースは元のままです。")));
    }
}

Result<QString> masterReport(Database &db)
{
    try {
        QSqlQuery query = runSql(db, QStringLiteral("SELECT * FROM 表示物質 ORDER BY ID"));
        const QSqlRecord fields = query.record();
        // Columns shown first, under these headings; any other column of the table follows
        // under its own name, so a new column is never left out of the review.
        const QList<std::pair<QString, QString>> known{
            {QStringLiteral("ID"), QStringLiteral("番号")},
            {QStringLiteral("物質名"), QStringLiteral("物質名")},
            {QStringLiteral("CAS"), QStringLiteral("CAS 番号")},
            {QStringLiteral("法令名称"), QStringLiteral("法令名称")},
            {QStringLiteral("義務開始"), QStringLiteral("義務対象になった日")},
            {QStringLiteral("ラベル裾切値"), QStringLiteral("ラベル裾切値（重量％）")},
            {QStringLiteral("SDS裾切値"), QStringLiteral("SDS 裾切値（重量％）")},
            {QString(), QStringLiteral("分類（区分・臓器）")},
            {QStringLiteral("注意喚起語："), QStringLiteral("注意喚起語")},
            {QStringLiteral("絵表示"), QStringLiteral("絵表示")},
            {QStringLiteral("危険有害性情報："), QStringLiteral("危険有害性情報")},
            {QStringLiteral("注意書き"), QStringLiteral("注意書き")}};
        // Each substance's classification, as the label database keeps it.
        QHash<int, QStringList> classified;
        if (tableExists(db, QStringLiteral("物質分類")))
            for (QSqlQuery rows =
                     runSql(db, QStringLiteral("SELECT 物質ID, 分類, 区分, 臓器 FROM 物質分類 ORDER BY 物質ID, 順"));
                 rows.next();) {
                if (rows.value(2).toString() == kUnclassifiableCategory)
                    continue; // the review lists what the substance is classified in
                const auto hazardClass = ghs::hazardClassFromKey(rows.value(1).toString());
                const QString organs = rows.value(3).toString();
                classified[rows.value(0).toInt()]
                    << QStringLiteral("%1 区分%2%3")
                           .arg(hazardClass ? ghs::hazardClassName(*hazardClass) : rows.value(1).toString(),
                                rows.value(2).toString(),
                                organs.isEmpty() ? QString() : QStringLiteral("（%1）").arg(organs));
            }
        QString newestList;
        for (QSqlQuery dates = runSql(db, QStringLiteral("SELECT MAX(出典版) FROM 表示物質 WHERE 出典 = 'NITE'"));
             dates.next();)
            newestList = dates.value(0).toString();
        const QStringList hidden{QStringLiteral("MasterNo"), QStringLiteral("UserOwned")};
        QStringList extra;
        for (int i = 0; i < fields.count(); ++i) {
            const QString name = fields.fieldName(i);
            if (!name.startsWith(QStringLiteral("絵表示")) && !hidden.contains(name)
                && std::none_of(known.begin(), known.end(), [&](const auto &k) { return k.first == name; }))
                extra << name;
        }
        QString out =
            QStringLiteral(
                "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>物質マスタ（版 %1）</title>\n"
                "<style>body{font-family:sans-serif;font-size:10pt}table{border-collapse:collapse}"
                "th,td{border:1px solid #888;padding:2px 4px;vertical-align:top}thead{display:table-header-group}</style>\n"
                "</head><body>\n<h1>物質マスタ（版 %1）</h1>\n")
                .arg(displayedVersionOf(db).toHtmlEscaped());
        // Where the rows come from, with the credit the publishers ask for.
        out += QStringLiteral("<p>%1</p>\n").arg(governmentClassificationNotice().toHtmlEscaped());
        for (const QString &credit : governmentCredits(newestList))
            out += QStringLiteral("<p>%1</p>\n").arg(credit.toHtmlEscaped());
        out += QStringLiteral("<table>\n<thead><tr>");
        for (const auto &[column, heading] : known)
            out += QStringLiteral("<th>%1</th>").arg(heading);
        for (const QString &column : extra)
            out += QStringLiteral("<th>%1</th>").arg(column.toHtmlEscaped());
        out += QStringLiteral("<th>利用者の物質</th></tr></thead>\n<tbody>\n");
        int rows = 0;
        while (query.next()) {
            out += QStringLiteral("<tr>");
            for (const auto &[column, heading] : known) {
                QString cell;
                if (column.isEmpty()) {
                    QStringList lines;
                    for (const QString &line : classified.value(query.value(QStringLiteral("ID")).toInt()))
                        lines << line.toHtmlEscaped();
                    cell = lines.join(QStringLiteral("<br>"));
                } else if (column == QStringLiteral("絵表示")) {
                    QStringList pictures;
                    for (int m = 1; m <= 5; ++m)
                        if (const QString p = query.value(QStringLiteral("絵表示%1").arg(m)).toString(); !p.isEmpty())
                            pictures << QString(p).remove(QStringLiteral(".svg"));
                    cell = pictures.join(QStringLiteral("<br>"));
                } else {
                    cell = htmlText(query.value(column));
                }
                out += QStringLiteral("<td>%1</td>").arg(cell);
            }
            for (const QString &column : extra)
                out += QStringLiteral("<td>%1</td>").arg(htmlText(query.value(column)));
            out += QStringLiteral("<td>%1</td></tr>\n")
                       .arg(query.value(QStringLiteral("UserOwned")).toInt() ? QStringLiteral("利用者") : QString());
            ++rows;
        }
        out += QStringLiteral("</tbody>\n</table>\n<p>%1物質</p>\n</body></html>\n").arg(rows);
        return out;
    } catch (const DbError &error) {
        return error.failure();
    }
}

} // namespace corvane
