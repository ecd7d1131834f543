#include "PrintLabels.h"
#include "Catalogue.h"
#include "Database.h"
#include "MessageBox.h"
#include "Module1.h"
#include "ReportEngine.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
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

QString text(const QVariant &value) { return NullToStr(value, QString()); }

// The texts that head every page of the normal and model labels.
struct Header {
    QString company, address, tel, productName, ingredients;
    QString notesFirst, notesRest, notesWhole;
};

class Run {
public:
    Run(QWidget *owner, Database &db, ReportEngine &engine, qint16 kind, qint16 single, Sheet sheet)
        : m_owner(owner), m_db(db), m_engine(engine), m_kind(kind), m_single(single), m_sheet(std::move(sheet)),
          m_path(QStringLiteral("Data\\") + m_sheet.file) {}

    bool print(qint32 productId);

private:
    bool hasHeader() const { return m_kind == Normal || m_kind == Model; }
    bool sixLabels() const { return m_sheet.perPage == 6; }
    bool loadPage();
    void fillHeader();
    bool place(const SubstanceRecord &substance);
    void moveNotesOnLastPage();
    bool fail(const QString &message);

    QWidget *m_owner;
    Database &m_db;
    ReportEngine &m_engine;
    qint16 m_kind, m_single;
    Sheet m_sheet;
    QString m_path;
    Header m_header;
    qint16 m_slot = 1;
};

bool Run::fail(const QString &message)
{
    MsgBox(m_owner, message);
    return false;
}

bool Run::loadPage()
{
    if (m_engine.PR_LoadReport(0, 0, m_path) != 0) {
        const QString error = m_engine.lastError();
        m_engine.PR_AbortDoc();
        return fail(QStringLiteral("ラベルの様式を読み込めません（%1）。\n%2").arg(m_sheet.file, error));
    }
    ClearReportFields(m_engine, 1, m_sheet.perPage);
    return true;
}

void Run::fillHeader()
{
    m_engine.PR_RepSetText(QStringLiteral("CopName"), m_header.company);
    m_engine.PR_RepSetText(QStringLiteral("Address"), m_header.address);
    m_engine.PR_RepSetText(QStringLiteral("TelFax"), m_header.tel);
}

bool Run::place(const SubstanceRecord &substance)
{
    if (m_slot > m_sheet.perPage) {
        if (m_single == 1)
            return false; // the page is full of copies; later substances add nothing
        m_engine.PR_PlayReport();
        m_engine.PR_EndPage();
        if (!loadPage())
            return false;
        if (hasHeader()) {
            fillHeader();
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
        m_slot = 1;
    }
    if (m_kind == Model) {
        m_header.notesFirst = text(substance.precautions);
        m_header.notesRest.clear();
        m_engine.PR_RepSetText(QStringLiteral("Notes"), m_header.notesFirst);
    }
    const QString n = QString::number(m_slot);
    m_engine.PR_RepSetText(QStringLiteral("Element") + n, text(substance.name));
    m_engine.PR_RepSetText(QStringLiteral("Attention") + n, text(substance.signalWord));
    for (int m = 1; m <= kPicturesPerSubstance; ++m) {
        const QVariant &picture = substance.pictures[static_cast<size_t>(m - 1)];
        m_engine.PR_RepSetText(QStringLiteral("Mark") + n + QString::number(m),
                               picture.isNull() ? QString() : QStringLiteral("#BMP=Data\\") + text(picture));
    }
    m_engine.PR_RepSetText(QStringLiteral("Harmful") + n, text(substance.hazards));
    ++m_slot;
    return true;
}

// With fewer than five labels on the last page, the notes block moves up into the first
// empty row of slots and shows the whole text in one field.
void Run::moveNotesOnLastPage()
{
    const int s = m_slot;
    const int k = s <= 3 ? 3 : s <= 5 ? 5 : 0;
    if (k == 0)
        return;
    qint32 x, y, w, h, copX, copY, copW, copH, ex, ey, ew, eh, ax, ay, aw, ah;
    m_engine.PR_RepGetPos(QStringLiteral("CopName"), copX, copY, copW, copH);
    m_engine.PR_RepGetPos(QStringLiteral("Element%1").arg(k), ex, ey, ew, eh);
    m_engine.PR_RepGetPos(QStringLiteral("Text6"), x, y, w, h);
    m_engine.PR_RepSetPos(QStringLiteral("Text6"), x, ey, w, eh);
    m_engine.PR_RepGetPos(QStringLiteral("Attention%1").arg(k), ax, ay, aw, ah);
    m_engine.PR_RepGetPos(QStringLiteral("Notes1"), x, y, w, h);
    m_engine.PR_RepSetPos(QStringLiteral("Notes1"), ax, ay, copW, h);
    m_engine.PR_RepSetText(QStringLiteral("Notes1"), m_header.notesWhole);
    m_engine.PR_RepSetText(QStringLiteral("Notes2"), QString());
}

bool Run::print(qint32 productId)
{
    if (m_engine.PR_Start(m_owner, QString(), QString(), 9, 0, 0) > 10)
        return fail(QStringLiteral("印刷を開始できません（%1）。\n%2").arg(m_sheet.file, m_engine.lastError()));
    if (!loadPage())
        return false;

    if (hasHeader()) {
        if (const auto company = catalogue::company(m_db)) {
            m_header.company = text(company->company);
            m_header.address = text(company->address);
            m_header.tel = text(company->tel);
        }
        fillHeader();
    }

    std::vector<EntryRecord> rows;
    if (m_kind == AllSubstances) {
        rows = catalogue::entries(m_db, productId);
    } else {
        const auto joined = catalogue::productWithEntries(m_db, productId);
        for (const ProductEntryRow &row : joined)
            rows.push_back(row.entry);
        if (!joined.empty() && hasHeader()) {
            const ProductRecord &product = joined.front().product;
            m_header.productName = text(product.name);
            m_engine.PR_RepSetText(QStringLiteral("ProName"), m_header.productName);
            if (m_kind == Normal) {
                m_header.ingredients = text(product.ingredients);
                m_engine.PR_RepSetText(QStringLiteral("CntElm"), m_header.ingredients);
            }
            if (sixLabels()) {
                m_header.notesWhole = text(product.notes);
                SplitNotes(m_header.notesWhole, m_header.notesFirst, m_header.notesRest);
                m_engine.PR_RepSetText(QStringLiteral("Notes1"), m_header.notesFirst);
                m_engine.PR_RepSetText(QStringLiteral("Notes2"), m_header.notesRest);
            } else {
                m_header.notesFirst = text(product.notes);
                m_engine.PR_RepSetText(QStringLiteral("Notes"), m_header.notesFirst);
            }
        }
    }
    if (rows.empty()) {
        m_engine.PR_AbortDoc();
        return fail(QStringLiteral("製品情報が登録されていません。"));
    }

    std::unordered_map<qint64, SubstanceRecord> master;
    for (SubstanceRecord &substance : catalogue::allSubstances(m_db))
        master.emplace(substance.id.toLongLong(), std::move(substance));
    const auto find = [&](const QVariant &value) -> const SubstanceRecord * {
        const double number = ValOrDefault(value, -1);
        // Only a whole number in the range of IDs names a substance; casting 1e300 is undefined.
        if (number != std::floor(number) || std::abs(number) > 2147483647.0)
            return nullptr;
        const auto it = master.find(static_cast<qint64>(number));
        return it == master.end() ? nullptr : &it->second;
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
        for (const QVariant &slot : row.itemId)
            if (const SubstanceRecord *substance = find(slot))
                if (!place(*substance))
                    return false;
    }

    if (m_kind == Normal && m_single == 0)
        moveNotesOnLastPage();
    m_engine.PR_PlayReport();
    if (m_engine.PR_EndDoc() != 0)
        return fail(QStringLiteral("ラベルを出力できません。\n%1").arg(m_engine.lastError()));
    return true;
}

} // namespace

bool PrintLabels(QWidget *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance,
                 ReportEngine &engine)
{
    const auto sheet = sheetFor(kind, singleSubstance);
    if (!sheet)
        return false;
    Run run(hWnd, db, engine, kind, singleSubstance, *sheet);
    return run.print(productID);
}

bool PrintLabels(QWidget *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance)
{
    ReportEngine engine;
    engine.setDataFolder(QFileInfo(db.path()).absolutePath());
    engine.setPreviewOutput();
    return PrintLabels(hWnd, db, productID, kind, singleSubstance, engine);
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
