#pragma once
#include <QFont>

namespace corvane {

// The forms' Japanese Gothic font: the classic Windows face when present, otherwise the
// IPA Gothic faces from the fonts packages, so Japanese never renders as boxes.
QFont gothicFont(double pointSize);

} // namespace corvane
