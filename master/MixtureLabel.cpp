#include "MixtureLabel.h"
#include "GovernmentMaster.h"
#include "LabelElements.h"
#include "MasterSource.h"

#include <QFile>
#include <QSet>

namespace corvane {
namespace {

QString resourceText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

Result<MixtureLabel> mixtureLabel(const ghs::MixtureClassification &classification)
{
    std::vector<ghs::ClassEntry> entries;
    for (const ghs::ClassResult &result : classification.classes)
        if (result.verdict == ghs::Verdict::Classified)
            for (const ghs::Finding &finding : result.findings)
                entries.push_back({result.hazardClass, finding.category, finding.organs});
    MixtureLabel label;
    if (entries.empty())
        return label;

    QString problem;
    const auto composed = ghs::composeLabel(entries, ghs::LabelTable::builtIn(), &problem);
    if (!composed)
        return Failure{QStringLiteral("混合物の分類からラベル要素を組み立てられません: %1").arg(problem)};
    if (composed->hazardCodes.isEmpty())
        return label; // categories that carry no label element
    if (composed->pictograms.size() > 5)
        return Failure{QStringLiteral("混合物の分類には絵表示が %1 個必要で、ラベルの5個の枠に収まりません（%2）。")
                           .arg(composed->pictograms.size())
                           .arg(composed->pictograms.join(QStringLiteral("、")))};
    const QString hazardText = resourceText(QStringLiteral(":/master/hazard_statements.tsv"));
    const QString precautionText = resourceText(QStringLiteral(":/master/precautionary_statements.tsv"));
    const QSet<QString> blanks = codesWithBlanks(precautionText);

    // The row goes through the master's own reader, which puts the statements' texts in.
    ComposedSubstance row;
    row.id = 1;
    row.name = QStringLiteral("混合物");
    setLabelElements(row, *composed, blanks);
    const MasterSourceResult read = readMasterSource(hazardText, QStringLiteral("hazard_statements.tsv"),
                                                     precautionText, QStringLiteral("precautionary_statements.tsv"),
                                                     substancesFileText({row}), QStringLiteral("混合物"));
    if (!read.errors.empty() || read.substances.size() != 1) {
        QStringList lines;
        for (const MasterError &e : read.errors)
            lines << e.message;
        return Failure{
            QStringLiteral("混合物のラベル要素を組み立てられません: %1").arg(lines.join(QStringLiteral(" / ")))};
    }
    const ComposedSubstance &made = read.substances.front();
    label.signalWord = made.signalWord;
    label.pictures = made.pictures;
    label.hazards = made.hazards;
    label.precautions = made.precautions;
    return label;
}

} // namespace corvane
