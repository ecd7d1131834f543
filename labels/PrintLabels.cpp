#include "PrintLabels.h"
#include "Catalogue.h"
#include "Database.h"
#include "DbError.h"
#include "LineBreaker.h"
#include "MixturePrint.h"
#include "ReportEngine.h"
#include "RunFailure.h"
#include "TypedText.h"

#include <QHash>
#include <QRegularExpression>

#include <array>
#include <optional>
#include <unordered_map>

namespace corvane {
namespace {

struct Sheet {
    ReportFile report;
    int perPage = 0;
};

Sheet sheetFor(LabelKind kind, bool singleSubstance)
{
    switch (kind) {
    case LabelKind::Normal:
        return singleSubstance ? Sheet{ReportFile::SingleSubstanceLabel, 1} : Sheet{ReportFile::SixSubstanceLabel, 6};
    case LabelKind::Model: return {ReportFile::ModelLabel, 1};
    case LabelKind::Additional2x6:
    case LabelKind::AllSubstances: return {ReportFile::Additional2x6, 12};
    case LabelKind::Additional3x7: return {ReportFile::Additional3x7, 21};
    case LabelKind::MixtureLabel: return {ReportFile::MixtureLabel, 1};
    case LabelKind::ClassificationBasis: return {ReportFile::ClassificationBasis, 1};
    }
    return {ReportFile::SingleSubstanceLabel, 1};
}

// The texts that head every page of the normal and model labels.
struct Header {
    QString company, address, tel, productName, ingredients;
    QString notesFirst, notesRest, notesWhole;
};

// Where a substance goes: the page (from 0) and the label position on it (from 1).
struct Placement {
    const SubstanceRecord *substance;
    int page;
    int slot;
};

QString oneLine(const QString &text) { return cleanText(text, TextLines::One); }
QString withLines(const QString &text) { return cleanText(text, TextLines::Many); }

// What a product or the master gives a label, as it may be printed: separators and control
// characters typed or imported never delete, move or garble text.
SubstanceRecord printable(const SubstanceRecord &substance)
{
    SubstanceRecord clean = substance;
    clean.name = oneLine(substance.name);
    clean.signalWord = oneLine(substance.signalWord);
    clean.hazards = withLines(substance.hazards);
    clean.precautions = withLines(substance.precautions);
    return clean;
}

// The words of a field for the user, by its name without the slot number.
QString fieldWords(const QString &stem, LabelKind kind)
{
    static const QHash<QString, QString> words{
        {QStringLiteral("Element"), QStringLiteral("物質名")},
        {QStringLiteral("Attention"), QStringLiteral("注意喚起語")},
        {QStringLiteral("Harmful"), QStringLiteral("危険有害性情報")},
        {QStringLiteral("CopName"), QStringLiteral("会社名")},
        {QStringLiteral("Address"), QStringLiteral("住所")},
        {QStringLiteral("TelFax"), QStringLiteral("電話・FAX")},
        {QStringLiteral("ProName"), QStringLiteral("製品名")},
        {QStringLiteral("CntElm"), QStringLiteral("含有成分")},
        {QStringLiteral("Notes"), QStringLiteral("注意事項")},
        {QStringLiteral("Notes1"), QStringLiteral("注意事項")},
        {QStringLiteral("Notes2"), QStringLiteral("注意事項")},
    };
    if (kind == LabelKind::Model && stem == QStringLiteral("Notes"))
        return QStringLiteral("注意書き");
    return words.value(stem, stem);
}

class Run {
public:
    Run(Database &db, ReportEngine &engine, LabelKind kind, bool single, Sheet sheet, int start)
        : m_db(db), m_engine(engine), m_kind(kind), m_single(single), m_sheet(sheet), m_slot(start)
    {}

    // Throws the Failure that ended it, or DbError from the database.
    void print(int productId);
    const QStringList &warnings() const { return m_warnings; }
    const QStringList &incomplete() const { return m_incomplete; }
    const QList<int> &missing() const { return m_missing; }
    // Where the fields the engine could not show whole are, in the user's words.
    QList<CutText> cutTexts() const;

private:
    bool hasHeader() const { return m_kind == LabelKind::Normal || m_kind == LabelKind::Model; }
    bool sixLabels() const { return m_sheet.perPage == 6; }
    std::vector<Placement> plan(const std::vector<const SubstanceRecord *> &chosen);
    bool fitsWhole(const SubstanceRecord &substance, int slot);
    QString sheetThatHolds(const SubstanceRecord &substance);
    void loadPage();
    void numberPage();
    void nextPage();
    void fillHeader();
    void fillProductHeader();
    void place(const SubstanceRecord &substance);
    void placePictograms(const QString &slot, const SubstanceRecord &substance);
    void endDocument();
    [[noreturn]] void abort(const Failure &failure);

    Database &m_db;
    ReportEngine &m_engine;
    LabelKind m_kind;
    bool m_single;
    Sheet m_sheet;
    Header m_header;
    int m_slot = 1;
    QStringList m_warnings;
    QStringList m_incomplete;
    QList<int> m_missing;
    int m_page = 0;
    int m_pages = 1;
    QHash<QPair<int, int>, QString> m_placed; // (page, slot) -> substance name
};

void Run::abort(const Failure &failure)
{
    m_engine.abortDocument();
    throw failure;
}

void Run::loadPage()
{
    if (const Outcome loaded = m_engine.loadReport(m_sheet.report); !loaded)
        abort(runFailure(QStringLiteral("ラベルの様式を読み込めません（%1）。").arg(reportFileName(m_sheet.report)),
                         loaded.failure()));
    ClearReportFields(m_engine, m_sheet.perPage);
}

void Run::numberPage()
{
    // The list of all target substances runs to hundreds of pages: each is headed and numbered.
    if (m_kind == LabelKind::AllSubstances)
        m_engine.setFieldText(QStringLiteral("PageNo"),
                              QStringLiteral("全対象物質 %1/%2").arg(m_page + 1).arg(m_pages));
    else if (hasHeader() && m_pages > 1)
        m_engine.setFieldText(QStringLiteral("PageNo"), QStringLiteral("%1/%2").arg(m_page + 1).arg(m_pages));
}

void Run::nextPage()
{
    m_engine.playPage();
    m_engine.endSheet();
    ++m_page;
    loadPage();
    numberPage();
    if (hasHeader()) {
        fillHeader();
        fillProductHeader();
    }
}

bool Run::fitsWhole(const SubstanceRecord &substance, int slot)
{
    return m_engine.textFits(m_sheet.report, QStringLiteral("Harmful%1").arg(slot), substance.hazards);
}

// The sheet on which a substance's hazard statements fit whole, for the user to print it on.
QString Run::sheetThatHolds(const SubstanceRecord &substance)
{
    if (m_kind == LabelKind::Additional3x7
        && m_engine.textFits(ReportFile::Additional2x6, QStringLiteral("Harmful1"), substance.hazards))
        return QStringLiteral("12面の追加ラベルには入ります");
    if (m_engine.textFits(ReportFile::SingleSubstanceLabel, QStringLiteral("Harmful1"), substance.hazards))
        return QStringLiteral("通常のラベルには入ります");
    return QStringLiteral("通常のラベルにも入りきりません");
}

// Where each substance goes. On the sheets of additional labels a substance goes only on a
// label where its hazard statements fit whole at the smallest size: elsewhere it is left out
// (a copy's label stays blank) and the user is told which sheet holds it.
std::vector<Placement> Run::plan(const std::vector<const SubstanceRecord *> &chosen)
{
    std::vector<Placement> placements;
    int page = 0;
    int slot = m_slot;
    const auto advance = [&] {
        if (++slot > m_sheet.perPage) {
            slot = 1;
            ++page;
        }
    };
    QHash<const SubstanceRecord *, QStringList> refused; // where, in the order found
    std::vector<const SubstanceRecord *> refusedOrder;
    const auto refuse = [&](const SubstanceRecord *substance) {
        if (!refused.contains(substance))
            refusedOrder.push_back(substance);
        refused[substance].append(QStringLiteral("%1ページ %2番目").arg(page + 1).arg(slot));
    };
    if (m_single) {
        // Copies fill the first page from the start position.
        const SubstanceRecord *substance = chosen.front();
        for (const int first = page; page == first; advance()) {
            if (!isAdditionalSheet(m_kind) || fitsWhole(*substance, slot))
                placements.push_back({substance, page, slot});
            else
                refuse(substance);
            if (!isAdditionalSheet(m_kind))
                break;
        }
    } else {
        for (const SubstanceRecord *substance : chosen) {
            if (isAdditionalSheet(m_kind) && !fitsWhole(*substance, slot)) {
                refuse(substance);
                continue;
            }
            placements.push_back({substance, page, slot});
            advance();
        }
    }
    for (const SubstanceRecord *substance : refusedOrder)
        m_incomplete << QStringLiteral(
                            "%1（%2）: 危険有害性情報が最小の文字でもラベルに入らないため、印刷していません。%3。")
                            .arg(refused[substance].join(QStringLiteral("、")), substance->name,
                                 sheetThatHolds(*substance));
    if (placements.empty())
        abort(Failure{QStringLiteral("印刷できるラベルがありません。\n") + m_incomplete.join(u'\n'), {}});
    return placements;
}

void Run::fillHeader()
{
    m_engine.setFieldText(QStringLiteral("CopName"), m_header.company);
    m_engine.setFieldText(QStringLiteral("Address"), m_header.address);
    m_engine.setFieldText(QStringLiteral("TelFax"), m_header.tel);
}

void Run::fillProductHeader()
{
    m_engine.setFieldText(QStringLiteral("ProName"), m_header.productName);
    if (m_kind == LabelKind::Normal)
        m_engine.setFieldText(QStringLiteral("CntElm"), m_header.ingredients);
    if (sixLabels()) {
        m_engine.setFieldText(QStringLiteral("Notes1"), m_header.notesFirst);
        m_engine.setFieldText(QStringLiteral("Notes2"), m_header.notesRest);
    } else {
        m_engine.setFieldText(QStringLiteral("Notes"), m_header.notesFirst);
    }
}

void Run::place(const SubstanceRecord &substance)
{
    if (m_kind == LabelKind::Model) {
        m_header.notesFirst = substance.precautions;
        m_header.notesRest.clear();
        m_engine.setFieldText(QStringLiteral("Notes"), m_header.notesFirst);
    }
    const QString n = QString::number(m_slot);
    m_engine.setFieldText(QStringLiteral("Element") + n, substance.name);
    m_engine.setFieldText(QStringLiteral("Attention") + n, substance.signalWord);
    placePictograms(n, substance);
    m_engine.setFieldText(QStringLiteral("Harmful") + n, substance.hazards);
    m_placed.insert({m_page, m_slot}, substance.name);
    ++m_slot;
}

// The substance's pictograms go into the first of the slot's picture fields. A report lays
// its five fields out either as a row (staggered up and down when five do not fit the width)
// or as a block beside the text (four corners and the centre). In a row, the pictures stand
// side by side as a group centred under the name, straight whenever they fit without
// overlapping. In a block, five take the report's places; fewer are set out in the same
// square: one in the middle, two side by side, three as two above one, four in the corners.
void Run::placePictograms(const QString &slot, const SubstanceRecord &substance)
{
    QStringList pictures;
    for (const QString &picture : substance.pictures)
        if (!picture.isEmpty())
            pictures.append(picture);
    std::array<QRect, kPicturesPerSubstance> fields;
    for (int m = 0; m < kPicturesPerSubstance; ++m) {
        const QString name = QStringLiteral("Mark") + slot + QString::number(m + 1);
        m_engine.setFieldPicture(name, pictures.value(m));
        fields[static_cast<size_t>(m)] = m_engine.fieldRect(name);
    }
    const int count = static_cast<int>(pictures.size());
    const QRect first = fields[0];
    if (count == 0 || first.isEmpty())
        return;
    const auto setMark = [&](int m, const QRect &rect) {
        m_engine.setFieldRect(QStringLiteral("Mark") + slot + QString::number(m + 1), rect);
    };
    // A report may have narrowed the fields at the paper's edge; a row uses the full size.
    QSize size;
    QRect all;
    for (const QRect &field : fields) {
        size = size.expandedTo(field.size());
        if (!field.isEmpty())
            all = all.united(field);
    }
    const int width = size.width();

    // A block: some field lies wholly below another.
    if (all.height() >= 2 * size.height()) {
        if (count >= kPicturesPerSubstance)
            return; // the report's own places
        const int left = all.x(), top = all.y(), right = all.right() + 1 - width,
                  bottom = all.bottom() + 1 - size.height();
        const int middleX = all.x() + (all.width() - width) / 2, middleY = all.y() + (all.height() - size.height()) / 2;
        QList<QPoint> places;
        switch (count) {
        case 1: places = {{middleX, middleY}}; break;
        case 2: places = {{left, middleY}, {right, middleY}}; break;
        case 3: places = {{left, top}, {right, top}, {middleX, bottom}}; break;
        default: places = {{left, top}, {right, top}, {left, bottom}, {right, bottom}}; break;
        }
        for (int m = 0; m < count; ++m)
            setMark(m, QRect(places[m], size));
        return;
    }

    // A row. The group may use the width of the picture fields and of the name above them.
    const QRect element = m_engine.fieldRect(QStringLiteral("Element") + slot);
    int left = all.x(), right = all.right() + 1;
    if (element.width() > 0) {
        left = qMin(left, element.x());
        right = qMax(right, element.x() + element.width());
    }
    const int reportPitch = fields[1].x() - first.x();
    const int rowPitch =
        count == 1 ? 0 : qMin(qMax(reportPitch, width + width / 10), (right - left - width) / (count - 1));
    const bool straight = rowPitch >= width || count == 1;
    const int groupWidth =
        straight ? (count - 1) * rowPitch + width : fields[static_cast<size_t>(count - 1)].x() + width - first.x();
    const int centre = element.width() > 0 ? element.x() + element.width() / 2 : (left + right) / 2;
    const int groupLeft = qBound(left, centre - groupWidth / 2, right - groupWidth);
    for (int m = 0; m < count; ++m) {
        const QRect &field = fields[static_cast<size_t>(m)];
        const int x = straight ? groupLeft + m * rowPitch : groupLeft + field.x() - first.x();
        setMark(m, straight ? QRect(QPoint(x, first.y()), size) : QRect(QPoint(x, field.y()), field.size()));
    }
}

void Run::endDocument()
{
    m_engine.playPage();
    const Outcome finished = m_engine.finishDocument();
    if (finished)
        return;
    QString heading = QStringLiteral("ラベルを出力できません。");
    if (const auto where = m_engine.unreadablePictureField()) {
        static const QRegularExpression mark(QStringLiteral("^Mark(\\d+)\\d$"));
        const auto match = mark.match(where->field);
        const QString substance =
            match.hasMatch() ? m_placed.value({where->sheet, match.captured(1).toInt()}) : QString();
        if (!substance.isEmpty())
            heading = QStringLiteral("「%1」の絵表示を読み込めません。").arg(substance);
    }
    throw runFailure(heading, finished.failure());
}

QList<CutText> Run::cutTexts() const
{
    static const QRegularExpression slotField(QStringLiteral("^(Element|Attention|Harmful)(\\d+)$"));
    QList<CutText> cut;
    for (const SheetField &where : m_engine.lastCutFields()) {
        CutText text{where.sheet + 1, 0, QString(), QString(), where.unprintable};
        const auto match = slotField.match(where.field);
        if (match.hasMatch()) {
            text.position = match.captured(2).toInt();
            text.substance = m_placed.value({where.sheet, text.position});
            text.field = fieldWords(match.captured(1), m_kind);
        } else {
            text.field = fieldWords(where.field, m_kind);
        }
        cut.append(text);
    }
    return cut;
}

void Run::print(int productId)
{
    if (const Outcome started = m_engine.startDocument(); !started)
        throw runFailure(QStringLiteral("印刷を開始できません（%1）。").arg(reportFileName(m_sheet.report)),
                         started.failure());

    std::vector<EntryRecord> rows;
    QString productName = QStringLiteral("全対象物質");
    std::optional<ProductWithEntries> product;
    if (m_kind == LabelKind::AllSubstances) {
        rows = catalogue::entries(m_db, productId);
        if (rows.empty())
            abort(Failure{QStringLiteral("製品情報が登録されていません。"), {}});
        m_engine.setDocumentTitle(QStringLiteral("全対象物質"));
    } else {
        product = catalogue::productWithEntries(m_db, productId);
        if (!product)
            abort(Failure{QStringLiteral("製品情報が登録されていません。"), {}});
        rows = std::move(product->entries);
        productName = oneLine(product->product.nameText());
        m_engine.setDocumentTitle(productName);
        // The main menu offers the model label for single-substance products only.
        if (m_kind == LabelKind::Model && product->product.itemType.value_or(1) == 0)
            abort(Failure{QStringLiteral("モデルラベルは単一物質の製品だけに印刷できます。"
                                         "製品「%1」は複数物質の製品です。")
                              .arg(productName),
                          {}});
    }

    std::unordered_map<int, SubstanceRecord> master;
    for (SubstanceRecord &substance : catalogue::allSubstances(m_db))
        master.emplace(substance.id, printable(substance));
    // A number the master lacks prints nothing, and the user is told which.
    const auto find = [&](const std::optional<int> &number) -> const SubstanceRecord * {
        const auto it = number ? master.find(*number) : master.end();
        if (it != master.end())
            return &it->second;
        if (number && *number >= 1 && !m_missing.contains(*number)) { // 0 and below mark an empty slot in old files
            m_missing << *number;
            m_warnings << QStringLiteral("製品「%1」の物質番号 %2 は物質マスタにないため、印刷されません。")
                              .arg(productName)
                              .arg(*number);
        }
        return nullptr;
    };
    // The substances in the order they go on the labels. A single-substance run fills the page
    // with the first row's first substance; a row whose first slot names none passes on.
    std::vector<const SubstanceRecord *> chosen;
    for (const EntryRecord &row : rows) {
        if (m_single) {
            if (const SubstanceRecord *substance = find(row.itemId[0])) {
                chosen.push_back(substance);
                break;
            }
            continue;
        }
        for (const std::optional<int> &slot : row.itemId)
            if (const SubstanceRecord *substance = find(slot))
                chosen.push_back(substance);
    }
    // A label without the hazards of substances the product holds would pass for a complete one.
    if (chosen.empty() && !m_missing.isEmpty()) {
        QStringList numbers;
        for (int number : m_missing)
            numbers << QString::number(number);
        abort(
            Failure{QStringLiteral("製品「%1」の物質（番号 %2）は、どれも物質マスタにないため、ラベルを印刷しません。")
                        .arg(productName, numbers.join(QStringLiteral("、"))),
                    {}});
    }
    // A label without a substance has nothing to warn of: none is printed, on any kind.
    if (chosen.empty())
        abort(Failure{QStringLiteral("物質が登録されていません。"), {}});
    loadPage(); // the report, read before anything is measured in it
    const std::vector<Placement> placements = plan(chosen);
    m_pages = placements.back().page + 1;
    numberPage();
    if (hasHeader()) {
        if (const auto company = catalogue::company(m_db)) {
            m_header.company = oneLine(company->company);
            m_header.address = oneLine(company->address);
            m_header.tel = oneLine(company->tel);
        }
        if (m_header.company.trimmed().isEmpty())
            m_incomplete << QStringLiteral("供給者の欄が空です: 会社情報（会社名・住所等入力）が登録されていません。");
        fillHeader();
        m_header.productName = productName;
        m_header.ingredients = withLines(product->product.ingredientsText());
        m_header.notesWhole = withLines(product->product.notesText());
        if (sixLabels())
            SplitNotes(m_header.notesWhole, m_header.notesFirst, m_header.notesRest);
        else
            m_header.notesFirst = m_header.notesWhole;
        fillProductHeader();
    }

    for (const Placement &placement : placements) {
        while (m_page < placement.page)
            nextPage();
        m_slot = placement.slot;
        place(*placement.substance);
    }

    if (m_kind == LabelKind::Normal && !m_single)
        MoveNotesOnLastPage(m_engine, m_slot, m_header.notesWhole);
    endDocument();
}

} // namespace

int labelsPerSheet(LabelKind kind) { return isAdditionalSheet(kind) ? sheetFor(kind, false).perPage : 1; }

QString describeCut(const CutText &cut)
{
    QString where = QStringLiteral("%1ページ").arg(cut.page);
    if (cut.position > 0)
        where += QStringLiteral(" %1番目").arg(cut.position);
    if (!cut.substance.isEmpty())
        where += QStringLiteral("（%1）").arg(cut.substance);
    where += QStringLiteral(": ") + cut.field;
    if (!cut.unprintable.isEmpty())
        where += QStringLiteral("（印刷できない文字「%1」）").arg(cut.unprintable);
    return where;
}

QString cutTextMessage(const QList<CutText> &cut, int limit)
{
    QStringList lines;
    for (const CutText &text : cut.mid(0, limit))
        lines.append(describeCut(text));
    if (cut.size() > limit)
        lines.append(QStringLiteral("ほか %1 件").arg(cut.size() - limit));
    return QStringLiteral("次の文字が枠に収まりませんでした: \n") + lines.join(u'\n');
}

QString incompleteMessage(const QStringList &incomplete, int limit)
{
    QStringList lines = incomplete.mid(0, limit);
    if (incomplete.size() > limit)
        lines.append(QStringLiteral("ほか %1 件").arg(incomplete.size() - limit));
    return QStringLiteral("印刷するラベルに次の不足があります:\n") + lines.join(u'\n');
}

PrintResult PrintLabels(Database &db, int productId, LabelKind kind, bool singleSubstance, ReportEngine &engine,
                        const PrintOptions &options)
{
    if (kind == LabelKind::MixtureLabel || kind == LabelKind::ClassificationBasis)
        return printMixture(db, productId, kind, engine);
    PrintResult result;
    const int positions = labelsPerSheet(kind);
    if (options.startPosition < 1 || options.startPosition > positions) {
        result.outcome = Outcome::failed(QStringLiteral("開始位置は 1 から %1 までです。").arg(positions));
        return result;
    }
    Run run(db, engine, kind, singleSubstance, sheetFor(kind, singleSubstance), options.startPosition);
    try {
        run.print(productId);
        result.warnings = run.warnings();
        result.missing = run.missing();
        result.cut = run.cutTexts();
        result.incomplete = run.incomplete();
    } catch (const Failure &failure) {
        result.outcome = failure;
        result.missing = run.missing();
    } catch (const DbError &error) {
        engine.abortDocument();
        result.outcome =
            Outcome::failed(QStringLiteral("データベースのエラーです。\n") + QString::fromUtf8(error.what()));
    }
    return result;
}

void MoveNotesOnLastPage(ReportEngine &engine, int nextSlot, const QString &notesWhole)
{
    const int k = nextSlot <= 3 ? 3 : nextSlot <= 5 ? 5 : 0;
    if (k == 0)
        return;
    const QRect supplier = engine.fieldRect(QStringLiteral("CopName"));
    const QRect element = engine.fieldRect(QStringLiteral("Element%1").arg(k));
    const QRect heading = engine.fieldRect(QStringLiteral("Text6"));
    engine.setFieldRect(QStringLiteral("Text6"), QRect(heading.x(), element.y(), heading.width(), element.height()));
    const QRect attention = engine.fieldRect(QStringLiteral("Attention%1").arg(k));
    const QRect notes = engine.fieldRect(QStringLiteral("Notes1"));
    // The block keeps its lower edge, so the text has all the room the empty rows leave.
    engine.setFieldRect(QStringLiteral("Notes1"), QRect(attention.x(), attention.y(), supplier.width(),
                                                        notes.y() + notes.height() - attention.y()));
    engine.setFieldText(QStringLiteral("Notes1"), notesWhole);
    engine.setFieldText(QStringLiteral("Notes2"), QString());
}

void ClearReportFields(ReportEngine &engine, int slotCount)
{
    for (const char *field : {"CopName", "Address", "TelFax", "ProName", "CntElm", "Notes"})
        engine.setFieldText(QString::fromLatin1(field), QString());
    for (int n = 1; n <= slotCount; ++n) {
        const QString slot = QString::number(n);
        engine.setFieldText(QStringLiteral("Element") + slot, QString());
        engine.setFieldText(QStringLiteral("Attention") + slot, QString());
        for (int m = 1; m <= kPicturesPerSubstance; ++m)
            engine.setFieldText(QStringLiteral("Mark") + slot + QString::number(m), QString());
        engine.setFieldText(QStringLiteral("Harmful") + slot, QString());
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
            // A long 23rd line is cut within its first 30 characters, where a line may end
            // between words; after the 30th only when no word ends there.
            if (lines == 23) {
                const qsizetype atWord = lastLineEndBetweenWords(text, start - 1, start + 29);
                end = atWord > start - 1 ? atWord : start + 29;
            }
            ++lines;
        }
    }
    first = text.left(end);
    rest = text.mid(end);
}

} // namespace corvane
