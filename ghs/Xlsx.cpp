#include "Xlsx.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QDir>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>

namespace corvane::ghs {
namespace {

// The government's largest workbook unpacks to about 20 MB; a part far beyond that is not a
// list this program reads (and may be built to exhaust memory).
constexpr qint64 kMaxPartSize = 256LL * 1024 * 1024;
constexpr int kMaxRows = 1'000'000;
constexpr int kMaxColumns = 16'384; // the format's own limit (XFD)

const QString kMain = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");

class Archive {
public:
    explicit Archive(const QString &path) : m_zip(path) {}

    bool open() { return m_zip.open(QuaZip::mdUnzip); }

    bool has(const QString &part) { return m_zip.setCurrentFile(part); }

    // The part's bytes; nothing (and *error set) when it is missing, too large or unreadable.
    std::optional<QByteArray> read(const QString &part, QString *error)
    {
        if (!m_zip.setCurrentFile(part)) {
            *error = QStringLiteral("「%1」がありません").arg(part);
            return std::nullopt;
        }
        QuaZipFileInfo64 info;
        if (!m_zip.getCurrentFileInfo(&info) || qint64(info.uncompressedSize) > kMaxPartSize) {
            *error = QStringLiteral("「%1」が大きすぎます").arg(part);
            return std::nullopt;
        }
        QuaZipFile file(&m_zip);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("「%1」を展開できません").arg(part);
            return std::nullopt;
        }
        QByteArray bytes;
        char buffer[65536];
        for (qint64 got; (got = file.read(buffer, sizeof buffer)) > 0;) {
            bytes.append(buffer, got);
            if (bytes.size() > kMaxPartSize) {
                *error = QStringLiteral("「%1」が大きすぎます").arg(part);
                return std::nullopt;
            }
        }
        file.close();
        if (file.getZipError() != UNZ_OK) {
            *error = QStringLiteral("「%1」が壊れています").arg(part);
            return std::nullopt;
        }
        return bytes;
    }

private:
    QuaZip m_zip;
};

QString xmlError(const QString &part, const QXmlStreamReader &xml)
{
    return QStringLiteral("「%1」の %2 行目が XML として読めません（%3）")
        .arg(part)
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

// The text of a rich or plain string item (<si> or <is>), without its phonetic guides
// (<rPh>), whose readings would otherwise run into the words.
QString stringItem(QXmlStreamReader &xml)
{
    QString text;
    const QStringView end = xml.name();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

std::optional<QStringList> sharedStrings(const QByteArray &bytes, const QString &part, QString *error)
{
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings << stringItem(xml);
    }
    if (xml.hasError()) {
        *error = xmlError(part, xml);
        return std::nullopt;
    }
    return strings;
}

// A number as the file writes it, with the float noise of a binary fraction taken off
// ("0.30000000000000004" -> "0.3").
QString numberText(const QString &raw)
{
    bool ok = false;
    const double value = raw.toDouble(&ok);
    if (!ok)
        return raw;
    return QString::number(value, 'g', 15);
}

std::optional<XlsxSheet> readSheet(const QByteArray &bytes, const QString &part, const QStringList &strings,
                                   QString *error)
{
    XlsxSheet sheet;
    QXmlStreamReader xml(bytes);
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const QString r = xml.attributes().value(QLatin1String("r")).toString();
            row = r.isEmpty() ? row + 1 : r.toInt();
            column = 0;
            if (row < 1 || row > kMaxRows) {
                *error = QStringLiteral("「%1」の行番号「%2」が読めません").arg(part, r);
                return std::nullopt;
            }
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString reference = attributes.value(QLatin1String("r")).toString();
        if (reference.isEmpty()) {
            ++column;
        } else {
            const auto position = cellPosition(reference);
            if (!position || position->second != row) {
                *error = QStringLiteral("「%1」のセル番地「%2」が読めません").arg(part, reference);
                return std::nullopt;
            }
            column = position->first;
        }
        if (column < 1 || column > kMaxColumns || row < 1) {
            *error = QStringLiteral("「%1」のセル番地「%2」が読めません").arg(part, reference);
            return std::nullopt;
        }
        const QString type = attributes.value(QLatin1String("t")).toString();
        QString value;
        QString inlineText;
        bool hasInline = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("v"))
                value = xml.readElementText();
            else if (xml.name() == QLatin1String("is")) {
                inlineText = stringItem(xml);
                hasInline = true;
            }
        }
        QString text;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= strings.size()) {
                *error = QStringLiteral("「%1」のセル %2 が共有文字列 %3 を指していますが、ありません")
                             .arg(part, reference, value);
                return std::nullopt;
            }
            text = strings.at(index);
        } else if (type == QLatin1String("inlineStr")) {
            text = hasInline ? inlineText : value;
        } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
            text = value;
        } else if (type == QLatin1String("b")) {
            text = value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else {
            text = value.isEmpty() ? QString() : numberText(value);
        }
        if (int(sheet.rows.size()) < row)
            sheet.rows.resize(row);
        QStringList &cells = sheet.rows[row - 1];
        while (cells.size() < column)
            cells << QString();
        cells[column - 1] = text;
    }
    if (xml.hasError()) {
        *error = xmlError(part, xml);
        return std::nullopt;
    }
    return sheet;
}

// Target paths of the workbook's relationships, by id.
QHash<QString, QString> relationships(const QByteArray &bytes)
{
    QHash<QString, QString> targets;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            QString target = attributes.value(QLatin1String("Target")).toString();
            // Targets are relative to xl/ unless they start at the package's root.
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            targets.insert(attributes.value(QLatin1String("Id")).toString(), QDir::cleanPath(target));
        }
    }
    return targets;
}

QDateTime modifiedDate(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("modified"))
            return QDateTime::fromString(xml.readElementText().trimmed(), Qt::ISODate);
    }
    return {};
}

} // namespace

QString XlsxSheet::cell(int row, int column) const
{
    if (row < 1 || row > int(rows.size()))
        return {};
    return rows[row - 1].value(column - 1);
}

const XlsxSheet *XlsxWorkbook::sheet(const QString &name) const
{
    for (const XlsxSheet &s : sheets)
        if (s.name == name)
            return &s;
    return nullptr;
}

std::optional<std::pair<int, int>> cellPosition(const QString &reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference.at(i) >= QLatin1Char('A') && reference.at(i) <= QLatin1Char('Z'); ++i) {
        column = column * 26 + (reference.at(i).unicode() - 'A' + 1);
        if (column > kMaxColumns)
            return std::nullopt;
    }
    if (i == 0 || i == reference.size())
        return std::nullopt;
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    if (!ok || row < 1 || reference.at(i) == QLatin1Char('0') || reference.at(i) == QLatin1Char('+'))
        return std::nullopt;
    return std::make_pair(column, row);
}

QString columnName(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

Result<XlsxWorkbook> readXlsx(const QString &path)
{
    const QString file = QDir::toNativeSeparators(path);
    Archive archive(path);
    if (!archive.open())
        return Failure{QStringLiteral("%1: Excel ブック（.xlsx）として開けません。").arg(file)};
    QString problem;
    const auto fail = [&](const QString &why) {
        return Failure{QStringLiteral("%1: Excel ブックとして読めません（%2）。").arg(file, why)};
    };
    const auto workbookXml = archive.read(QStringLiteral("xl/workbook.xml"), &problem);
    if (!workbookXml)
        return fail(problem);
    const auto rels = archive.read(QStringLiteral("xl/_rels/workbook.xml.rels"), &problem);
    if (!rels)
        return fail(problem);
    QStringList strings;
    if (archive.has(QStringLiteral("xl/sharedStrings.xml"))) {
        const auto bytes = archive.read(QStringLiteral("xl/sharedStrings.xml"), &problem);
        if (!bytes)
            return fail(problem);
        const auto read = sharedStrings(*bytes, QStringLiteral("xl/sharedStrings.xml"), &problem);
        if (!read)
            return fail(problem);
        strings = *read;
    }

    XlsxWorkbook workbook;
    const QHash<QString, QString> targets = relationships(*rels);
    QXmlStreamReader xml(*workbookXml);
    std::vector<std::pair<QString, QString>> sheetParts; // name, part
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("sheet")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            QString id;
            for (const QXmlStreamAttribute &attribute : attributes)
                if (attribute.name() == QLatin1String("id"))
                    id = attribute.value().toString();
            sheetParts.emplace_back(attributes.value(QLatin1String("name")).toString(), targets.value(id));
        }
    }
    if (xml.hasError())
        return fail(xmlError(QStringLiteral("xl/workbook.xml"), xml));
    if (sheetParts.empty())
        return fail(QStringLiteral("シートがありません"));
    for (const auto &[name, part] : sheetParts) {
        if (part.isEmpty())
            return fail(QStringLiteral("シート「%1」の場所が書かれていません").arg(name));
        const auto bytes = archive.read(part, &problem);
        if (!bytes)
            return fail(problem);
        auto sheet = readSheet(*bytes, part, strings, &problem);
        if (!sheet)
            return fail(problem);
        sheet->name = name;
        workbook.sheets.push_back(std::move(*sheet));
    }
    if (archive.has(QStringLiteral("docProps/core.xml"))) {
        const auto core = archive.read(QStringLiteral("docProps/core.xml"), &problem);
        if (!core)
            return fail(problem);
        workbook.modified = modifiedDate(*core);
    }
    return workbook;
}

} // namespace corvane::ghs
