#pragma once

#include "ReportDefinition.h"

#include <QDialog>
#include <QPointF>

#include <memory>

class QDoubleSpinBox;

namespace corvane {

// The printer offset, in 0.1 mm (right and down), kept in the settings file (section
// "print", keys OffsetX and OffsetY, in millimetres). It moves every sheet printed on paper;
// PDF files never get it.
QPointF readPrintOffset();
bool writePrintOffset(const QPointF &offset);

// "印刷位置の調整": the two offsets in millimetres (-5.0 to +5.0 in steps of 0.1) and a test
// page of the current sheet to print on plain paper and hold against the stock. OK saves.
class PrintOffsetDialog : public QDialog {
public:
    PrintOffsetDialog(std::shared_ptr<const ReportDefinition> sheet, QWidget *parent);

    QPointF offset() const;

private:
    void printTestPage();
    void save();

    std::shared_ptr<const ReportDefinition> m_sheet;
    QDoubleSpinBox *m_horizontal;
    QDoubleSpinBox *m_vertical;
};

} // namespace corvane
