#pragma once
// Writes small .xlsx workbooks for the tests, with QuaZip, in the shape the government's files
// have: shared strings (some with phonetic guides), inline strings and numbers.
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QDateTime>
#include <QStringList>

#include <vector>

namespace corvane::test {

struct SheetRows {
    QString name;
    std::vector<QStringList> rows; // a cell "#12.5" is written as the number 12.5
};

inline QString xmlEscaped(const QString &text) { return text.toHtmlEscaped(); }

inline QString columnLetters(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

// Every third text goes inline rather than into the shared strings, and shared strings carry
// a phonetic reading the reader must leave out.
inline bool writeWorkbook(const QString &path, const std::vector<SheetRows> &sheets, const QDateTime &modified)
{
    QStringList shared;
    std::vector<QString> sheetXml;
    int textCount = 0;
    for (const SheetRows &sheet : sheets) {
        QString xml = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>");
        for (size_t r = 0; r < sheet.rows.size(); ++r) {
            xml += QStringLiteral("<row r=\"%1\">").arg(r + 1);
            for (int c = 0; c < sheet.rows[r].size(); ++c) {
                const QString text = sheet.rows[r][c];
                const QString ref = columnLetters(c + 1) + QString::number(r + 1);
                if (text.isEmpty())
                    continue;
                if (text.startsWith(QLatin1Char('#'))) {
                    xml += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, text.mid(1));
                } else if (++textCount % 3 == 0) {
                    xml +=
                        QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>").arg(ref, xmlEscaped(text));
                } else {
                    xml += QStringLiteral("<c r=\"%1\" t=\"s\"><v>%2</v></c>").arg(ref).arg(shared.size());
                    shared << text;
                }
            }
            xml += QStringLiteral("</row>");
        }
        xml += QStringLiteral("</sheetData></worksheet>");
        sheetXml.push_back(xml);
    }
    QString strings = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                     "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    for (const QString &text : shared)
        strings +=
            QStringLiteral("<si><r><t xml:space=\"preserve\">%1</t></r><rPh sb=\"0\" eb=\"1\"><t>ヨミ</t></rPh></si>")
                .arg(xmlEscaped(text));
    strings += QStringLiteral("</sst>");
    QString workbook =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>");
    QString rels =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (size_t i = 0; i < sheets.size(); ++i) {
        workbook += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>")
                        .arg(xmlEscaped(sheets[i].name))
                        .arg(i + 1);
        rels +=
            QStringLiteral("<Relationship Id=\"rId%1\" Target=\"worksheets/sheet%1.xml\" "
                           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\"/>")
                .arg(i + 1);
    }
    workbook += QStringLiteral("</sheets></workbook>");
    rels += QStringLiteral("</Relationships>");
    const QString core =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
            "xmlns:dcterms=\"http://purl.org/dc/terms/\"><dcterms:modified>%1</dcterms:modified></cp:coreProperties>")
            .arg(modified.toUTC().toString(Qt::ISODate));

    std::vector<std::pair<QString, QString>> parts{{QStringLiteral("xl/workbook.xml"), workbook},
                                                   {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                                                   {QStringLiteral("xl/sharedStrings.xml"), strings},
                                                   {QStringLiteral("docProps/core.xml"), core}};
    for (size_t i = 0; i < sheetXml.size(); ++i)
        parts.emplace_back(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), sheetXml[i]);
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, text] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(text.toUtf8()) < 0)
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

} // namespace corvane::test
