#include "MixtureText.h"

namespace corvane::ghs {

QString verdictText(const ClassResult &result)
{
    switch (result.verdict) {
    case Verdict::Classified: {
        QStringList categories;
        for (const Finding &finding : result.findings) {
            // The lactation class's name says 「追加区分」 already.
            QString text = finding.category == QStringLiteral("追加区分") ? QStringLiteral("該当")
                                                                          : QStringLiteral("区分") + finding.category;
            if (!finding.organs.isEmpty())
                text += QStringLiteral("（%1）").arg(finding.organs.join(QStringLiteral("、")));
            categories << text;
        }
        return categories.join(QStringLiteral("、"));
    }
    case Verdict::NotClassified: return QStringLiteral("区分に該当しない");
    case Verdict::CannotClassify: return QStringLiteral("分類できない");
    case Verdict::DecidedByTestData: return QStringLiteral("試験データにより判断");
    }
    return {};
}

QStringList classificationSummary(const MixtureClassification &classification)
{
    QStringList lines;
    if (classification.refused()) {
        for (const Refusal &refusal : classification.refusals)
            lines << refusal.message;
        return lines;
    }
    QStringList cannot, byTests;
    for (const ClassResult &result : classification.classes) {
        if (result.verdict == Verdict::Classified)
            lines << QStringLiteral("%1: %2").arg(hazardClassName(result.hazardClass), verdictText(result));
        else if (result.verdict == Verdict::CannotClassify)
            cannot << hazardClassName(result.hazardClass);
        else if (result.verdict == Verdict::DecidedByTestData && !result.carriers.empty())
            byTests << hazardClassName(result.hazardClass);
    }
    if (lines.isEmpty())
        lines << QStringLiteral("成分からは GHS 分類基準に該当しない");
    if (!cannot.isEmpty())
        lines << QStringLiteral("分類できない: %1").arg(cannot.join(QStringLiteral("、")));
    if (!byTests.isEmpty())
        lines << QStringLiteral("試験データにより判断（該当成分あり）: %1").arg(byTests.join(QStringLiteral("、")));
    return lines;
}

} // namespace corvane::ghs
