#pragma once
#include "PrintLabels.h"

namespace corvane {

// Kinds 6 (the product's label as a mixture) and 7 (the basis of its classification, A4, as
// many pages as it takes). Contents the mixture rules refuse print nothing: the result's
// error names the substances and `refused` holds their numbers.
PrintResult printMixture(QObject *owner, Database &db, qint32 productId, qint16 kind, ReportEngine &engine);

} // namespace corvane
