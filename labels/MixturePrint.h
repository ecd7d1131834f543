#pragma once
#include "PrintLabels.h"

namespace corvane {

// The product's label as a mixture, and the basis of its classification (A4, as many pages as
// it takes). Contents the mixture rules refuse print nothing: the result's failure names the
// substances and `refused` holds their numbers.
PrintResult printMixture(Database &db, int productId, LabelKind kind, ReportEngine &engine);

} // namespace corvane
