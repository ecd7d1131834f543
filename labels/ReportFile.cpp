#include "ReportFile.h"

namespace corvane {

QString reportFileName(ReportFile report)
{
    switch (report) {
    case ReportFile::SingleSubstanceLabel: return QStringLiteral("SULABEL.PRP");
    case ReportFile::SixSubstanceLabel: return QStringLiteral("MULABEL.PRP");
    case ReportFile::ModelLabel: return QStringLiteral("SMLABEL.PRP");
    case ReportFile::Additional2x6: return QStringLiteral("MALAB26.PRP");
    case ReportFile::Additional3x7: return QStringLiteral("MALAB37.PRP");
    case ReportFile::MixtureLabel: return QStringLiteral("MXLABEL.PRP");
    case ReportFile::ClassificationBasis: return QStringLiteral("MXBASIS.PRP");
    }
    return {};
}

} // namespace corvane
