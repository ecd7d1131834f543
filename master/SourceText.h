#pragma once
#include "MasterSource.h"

#include <QChar>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Lines, fields and statement tables of the master's text sources, and the checks of a single
// field that need no other.
namespace corvane::mastersource {

// Lines end in "\r\n" in the texts a label prints.
inline const QString kLineBreak = QStringLiteral("\r\n");

struct SourceLine {
    int number; // 1-based line number in the file
    QString text;
};

// Data lines of a file: BOM dropped, any of CR LF, LF or CR ends a line,
// blank lines and '#' comments skipped.
std::vector<SourceLine> dataLines(QString text);

class ErrorSink {
public:
    ErrorSink(std::vector<MasterError> &errors, QString file) : m_errors(errors), m_file(std::move(file)) {}
    void add(int line, const QString &message) { m_errors.push_back({m_file, line, message}); }

private:
    std::vector<MasterError> &m_errors;
    QString m_file;
};

// A statement code such as "H225" or "P305+P351+P338" for the given letter.
bool isStatementCode(const QString &code, QChar letter);

// The three-digit numbers of a (possibly combined) statement code.
std::vector<int> codeNumbers(const QString &code);

using StatementTable = QHash<QString, QString>;

// A blank in a statement's text, filled per substance: "{臓器}" must be filled, "{経路?}"
// may be (it prints nothing when it is not).
const QRegularExpression &placeholderPattern();

// The first mark of a blank left for the supplier ("…", "...", "○○", "（　）" and the
// like) in a printed text, or an empty string.
QString unfilledBlank(const QString &text);

// The sentences of a printed text: its lines, cut after each "。".
QStringList sentences(const QString &text);

bool placeholdersWellFormed(QString text);

StatementTable readStatements(const QString &text, ErrorSink sink, QChar letter);

// Comma-separated items, each trimmed; an empty field is an empty list.
std::optional<QStringList> splitList(const QString &field);

bool isValidCas(const QString &cas);

} // namespace corvane::mastersource
