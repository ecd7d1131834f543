#pragma once

#include <QString>

namespace corvane {

// The report files the program ships and prints with (REPORT_FORMAT.md describes each). They
// live in the Data folder; a user may have changed them there.
enum class ReportFile {
    SingleSubstanceLabel, // SULABEL.PRP: the normal label of one substance
    SixSubstanceLabel,    // MULABEL.PRP: the normal label, six substances to a page
    ModelLabel,           // SMLABEL.PRP
    Additional2x6,        // MALAB26.PRP: twelve additional labels to a sheet
    Additional3x7,        // MALAB37.PRP: twenty-one additional labels to a sheet
    MixtureLabel,         // MXLABEL.PRP: the product's label as a mixture
    ClassificationBasis,  // MXBASIS.PRP: the basis of a mixture's classification
};

// The file's name in the Data folder: "SULABEL.PRP".
QString reportFileName(ReportFile report);

} // namespace corvane
