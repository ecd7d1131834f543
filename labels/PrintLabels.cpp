#include "PrintLabels.h"
#include "Catalogue.h"
#include "Database.h"
#include "DbError.h"
#include "ReportEngine.h"

#include <optional>
#include <unordered_map>

namespace corvane {
namespace {

struct Sheet {
    QString file;
    qint16 perPage = 0;
};

std::optional<Sheet> sheetFor(qint16 kind, qint16 singleSubstance)
{
    switch (kind) {
    case Normal: return singleSubstance == 1 ? Sheet{QStringLiteral("SULABEL.PRP"), 1} : Sheet{QStringLiteral("MULABEL.PRP"), 6};
    case Model: return Sheet{QStringLiteral("SMLABEL.PRP"), 1};
    case Additional2x6:
    case AllSubstances: return Sheet{QStringLiteral("MALAB26.PRP"), 12};
    case Additional3x7: return Sheet{QStringLiteral("MALAB37.PRP"), 21};
    default: return std::nullopt;
    }
}

// The texts that head every page of the normal and model labels.
struct Header {
    QString company, address, tel, productName, ingredients;
    QString notesFirst, notesRest, notesWhole;
};

// A failed step of the run, carrying the message for the user.
struct RunFailure {
    QString message;
};

class Run {
public:
    Run(QObject *owner, Database &db, ReportEngine &engine, qint16 kind, qint16 single, Sheet sheet)
        : m_owner(owner), m_db(db), m_engine(engine), m_kind(kind), m_single(single), m_sheet(std::move(sheet)),
          m_path(QStringLiteral("Data\\") + m_sheet.file) {}

    // Throws RunFailure, or DbError from the database.
    void print(qint32 productId);
    const QStringList &warnings() const { return m_warnings; }

private:
    bool hasHeader() const { return m_kind == Normal || m_kind == Model; }
    bool sixLabels() const { return m_sheet.perPage == 6; }
    void loadPage();
    void fillHeader();
    void fillProductHeader();
    bool place(const SubstanceRecord &substance);
    [[noreturn]] void abort(const QString &message);

    QObject *m_owner;
    Database &m_db;
    ReportEngine &m_engine;
    qint16 m_kind, m_single;
    Sheet m_sheet;
    QString m_path;
    Header m_header;
    qint16 m_slot = 1;
    QStringList m_warnings;
};

void Run::abort(const QString &message)
{
    m_engine.PR_AbortDoc();
    throw RunFailure{message};
}

void Run::loadPage()
{
    if (m_engine.PR_LoadReport(0, 0, m_path) != 0)
        abort(QStringLiteral("ラベルの様式を読み込めません（%1）。\n%2").arg(m_sheet.file, m_engine.lastError()));
    ClearReportFields(m_engine, 1, m_sheet.perPage);
}

void Run::fillHeader()
{
    m_engine.PR_RepSetText(QStringLiteral("CopName"), m_header.company);
    m_engine.PR_RepSetText(QStringLiteral("Address"), m_header.address);
    m_engine.PR_RepSetText(QStringLiteral("TelFax"), m_header.tel);
}

void Run::fillProductHeader()
{
    m_engine.PR_RepSetText(QStringLiteral("ProName"), m_header.productName);
    if (m_kind == Normal)
        m_engine.PR_RepSetText(QStringLiteral("CntElm"), m_header.ingredients);
    if (sixLabels()) {
        m_engine.PR_RepSetText(QStringLiteral("Notes1"), m_header.notesFirst);
        m_engine.PR_RepSetText(QStringLiteral("Notes2"), m_header.notesRest);
    } else {
        m_engine.PR_RepSetText(QStringLiteral("Notes"), m_header.notesFirst);
    }
}

bool Run::place(const SubstanceRecord &substance)
{
    if (m_slot > m_sheet.perPage) {
        if (m_single == 1)
            return false; // the page is full of copies; later substances add nothing
        m_engine.PR_PlayReport();
        m_engine.PR_EndPage();
        loadPage();
        if (hasHeader()) {
            fillHeader();
            fillProductHeader();
        }
        m_slot = 1;
    }
    if (m_kind == Model) {
        m_header.notesFirst = substance.precautions;
        m_header.notesRest.clear();
        m_engine.PR_RepSetText(QStringLiteral("Notes"), m_header.notesFirst);
    }
    const QString n = QString::number(m_slot);
    m_engine.PR_RepSetText(QStringLiteral("Element") + n, substance.name);
    m_engine.PR_RepSetText(QStringLiteral("Attention") + n, substance.signalWord);
    for (int m = 1; m <= kPicturesPerSubstance; ++m) {
        const QString &picture = substance.pictures[static_cast<size_t>(m - 1)];
        m_engine.PR_RepSetText(QStringLiteral("Mark") + n + QString::number(m),
                               picture.isEmpty() ? QString() : QStringLiteral("#BMP=Data\\") + picture);
    }
    m_engine.PR_RepSetText(QStringLiteral("Harmful") + n, substance.hazards);
    ++m_slot;
    return true;
}

void Run::print(qint32 productId)
{
    if (m_engine.PR_Start(m_owner, QString(), QString(), 9, 0, 0) > 10)
        throw RunFailure{QStringLiteral("印刷を開始できません（%1）。\n%2").arg(m_sheet.file, m_engine.lastError())};
    loadPage();

    if (hasHeader()) {
        if (const auto company = catalogue::company(m_db)) {
            m_header.company = company->company;
            m_header.address = company->address;
            m_header.tel = company->tel;
        }
        fillHeader();
    }

    std::vector<EntryRecord> rows;
    QString productName = QStringLiteral("全対象物質");
    if (m_kind == AllSubstances) {
        rows = catalogue::entries(m_db, productId);
        if (rows.empty())
            abort(QStringLiteral("製品情報が登録されていません。"));
    } else {
        auto product = catalogue::productWithEntries(m_db, productId);
        if (!product)
            abort(QStringLiteral("製品情報が登録されていません。"));
        rows = std::move(product->entries);
        productName = product->product.nameText();
        if (hasHeader()) {
            m_header.productName = product->product.nameText();
            m_header.ingredients = product->product.ingredientsText();
            m_header.notesWhole = product->product.notesText();
            if (sixLabels())
                SplitNotes(m_header.notesWhole, m_header.notesFirst, m_header.notesRest);
            else
                m_header.notesFirst = m_header.notesWhole;
            fillProductHeader();
        }
    }

    std::unordered_map<int, SubstanceRecord> master;
    for (SubstanceRecord &substance : catalogue::allSubstances(m_db))
        master.emplace(substance.id, std::move(substance));
    // A number the master lacks prints nothing, and the user is told which.
    const auto find = [&](const std::optional<int> &number) -> const SubstanceRecord * {
        const auto it = number ? master.find(*number) : master.end();
        if (it != master.end())
            return &it->second;
        if (number && *number >= 1) // 0 and below mark an empty slot in old files
            m_warnings << QStringLiteral("製品「%1」の物質番号 %2 は物質マスタにないため、印刷されません。")
                              .arg(productName)
                              .arg(*number);
        return nullptr;
    };

    for (const EntryRecord &row : rows) {
        if (m_single == 1) {
            // Every slot of the page gets the row's first substance; a row whose first slot
            // names no substance passes on to the next row.
            if (const SubstanceRecord *substance = find(row.itemId[0]))
                while (place(*substance)) {
                }
            continue;
        }
        for (const std::optional<int> &slot : row.itemId)
            if (const SubstanceRecord *substance = find(slot))
                place(*substance);
    }

    if (m_kind == Normal && m_single == 0)
        MoveNotesOnLastPage(m_engine, m_slot, m_header.notesWhole);
    m_engine.PR_PlayReport();
    if (m_engine.PR_EndDoc() != 0)
        throw RunFailure{QStringLiteral("ラベルを出力できません。\n%1").arg(m_engine.lastError())};
}

} // namespace

PrintResult PrintLabels(QObject *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance,
                        ReportEngine &engine)
{
    PrintResult result;
    const auto sheet = sheetFor(kind, singleSubstance);
    if (!sheet) {
        result.error = QStringLiteral("ラベルの種類 %1 はありません。").arg(kind);
        return result;
    }
    Run run(hWnd, db, engine, kind, singleSubstance, *sheet);
    try {
        run.print(productID);
        result.ok = true;
        result.warnings = run.warnings();
    } catch (const RunFailure &failure) {
        result.error = failure.message;
    } catch (const DbError &error) {
        engine.PR_AbortDoc();
        result.error = QStringLiteral("データベースのエラーです。\n") + QString::fromUtf8(error.what());
    }
    return result;
}

void MoveNotesOnLastPage(ReportEngine &engine, int nextSlot, const QString &notesWhole)
{
    const int k = nextSlot <= 3 ? 3 : nextSlot <= 5 ? 5 : 0;
    if (k == 0)
        return;
    qint32 x, y, w, h, copX, copY, copW, copH, ex, ey, ew, eh, ax, ay, aw, ah;
    engine.PR_RepGetPos(QStringLiteral("CopName"), copX, copY, copW, copH);
    engine.PR_RepGetPos(QStringLiteral("Element%1").arg(k), ex, ey, ew, eh);
    engine.PR_RepGetPos(QStringLiteral("Text6"), x, y, w, h);
    engine.PR_RepSetPos(QStringLiteral("Text6"), x, ey, w, eh);
    engine.PR_RepGetPos(QStringLiteral("Attention%1").arg(k), ax, ay, aw, ah);
    engine.PR_RepGetPos(QStringLiteral("Notes1"), x, y, w, h);
    engine.PR_RepSetPos(QStringLiteral("Notes1"), ax, ay, copW, h);
    engine.PR_RepSetText(QStringLiteral("Notes1"), notesWhole);
    engine.PR_RepSetText(QStringLiteral("Notes2"), QString());
}

void ClearReportFields(ReportEngine &engine, qint16 mode, qint16 count)
{
    if (mode != 1)
        return;
    for (const char *field : {"CopName", "Address", "TelFax", "ProName", "CntElm", "Notes"})
        engine.PR_RepSetText(QString::fromLatin1(field), QString());
    for (int n = 1; n <= count; ++n) {
        const QString slot = QString::number(n);
        engine.PR_RepSetText(QStringLiteral("Element") + slot, QString());
        engine.PR_RepSetText(QStringLiteral("Attention") + slot, QString());
        for (int m = 1; m <= kPicturesPerSubstance; ++m)
            engine.PR_RepSetText(QStringLiteral("Mark") + slot + QString::number(m), QString());
        engine.PR_RepSetText(QStringLiteral("Harmful") + slot, QString());
    }
}

void SplitNotes(const QString &text, QString &first, QString &rest)
{
    const qsizetype length = text.size();
    int lines = 0;
    qsizetype end = 0; // 1-based position of the last character of the first part
    qsizetype found = 1;
    while (found > 0 && lines < 23) {
        ++lines;
        const qsizetype start = end + 1;
        found = start > length ? 0 : text.indexOf(QStringLiteral("\r\n"), start - 1) + 1;
        qsizetype lineLength;
        if (found > 0) {
            end = found + 1;
            lineLength = end - start + 1;
        } else {
            end = length;
            lineLength = length - start + 1;
        }
        if (lineLength > 30) {
            if (lines == 23)
                end = start + 29;
            ++lines;
        }
    }
    first = text.left(end);
    rest = text.mid(end);
}

} // namespace corvane
