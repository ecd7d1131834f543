#include "PrintOffsetDialog.h"

#include "AlignmentPage.h"
#include "DataLocation.h"
#include "MessageBox.h"
#include "PrinterOutput.h"
#include "Profile.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace corvane {

namespace {

constexpr double kLimitMm = 5.0;
const QString kSection = QStringLiteral("print");

double readMillimetres(const QString &key)
{
    bool ok = false;
    const double mm = readProfileString(kSection, key, QString(), 32, locateData().settingsFile).toDouble(&ok);
    // Anything unreadable or out of range counts as no offset, never as a wild one.
    if (!ok || !std::isfinite(mm) || std::abs(mm) > kLimitMm)
        return 0;
    return std::round(mm * 10) / 10;
}

QDoubleSpinBox *millimetreBox(double mm)
{
    auto *box = new QDoubleSpinBox;
    box->setRange(-kLimitMm, kLimitMm);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(mm);
    return box;
}

} // namespace

QPointF readPrintOffset()
{
    return QPointF(readMillimetres(QStringLiteral("OffsetX")) * 10, readMillimetres(QStringLiteral("OffsetY")) * 10);
}

bool writePrintOffset(const QPointF &offset)
{
    const QString file = locateData().settingsFile;
    return writeProfileString(kSection, QStringLiteral("OffsetX"), QString::number(offset.x() / 10, 'f', 1), file)
           && writeProfileString(kSection, QStringLiteral("OffsetY"), QString::number(offset.y() / 10, 'f', 1), file);
}

PrintOffsetDialog::PrintOffsetDialog(std::shared_ptr<const ReportDefinition> sheet, QWidget *parent)
    : QDialog(parent), m_sheet(std::move(sheet))
{
    setWindowTitle(QStringLiteral("印刷位置の調整"));
    const QPointF current = readPrintOffset();
    m_horizontal = millimetreBox(current.x() / 10);
    m_vertical = millimetreBox(current.y() / 10);

    auto *explanation = new QLabel(QStringLiteral(
        "プリンタが用紙の位置からずれて印刷するときに調整します。\n"
        "テストページを普通紙に印刷してラベル用紙に重ね、用紙の切れ目が四隅の目盛りのどこに来るかを読んで、"
        "その値を今の値に足してください（右・下がプラス）。PDF には反映されません。"));
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(420);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("横（右へ）"), m_horizontal);
    form->addRow(QStringLiteral("縦（下へ）"), m_vertical);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *test = buttons->addButton(QStringLiteral("テストページを印刷"), QDialogButtonBox::ActionRole);
    test->setEnabled(m_sheet != nullptr);
    connect(test, &QPushButton::clicked, this, &PrintOffsetDialog::printTestPage);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintOffsetDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QPointF PrintOffsetDialog::offset() const
{
    return QPointF(std::round(m_horizontal->value() * 10), std::round(m_vertical->value() * 10));
}

void PrintOffsetDialog::printTestPage()
{
    QPrinter printer(QPrinter::HighResolution);
    const QPageLayout paper(QPageSize(m_sheet->pageSize), m_sheet->orientation, QMarginsF());
    printer.setDocName(QStringLiteral("印刷位置の調整"));
    preparePrinter(printer, paper);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    preparePrinter(printer, paper);
    QPainter painter;
    if (!painter.begin(&printer)) {
        MsgBox(this, QStringLiteral("テストページを印刷できません。"));
        return;
    }
    const bool onPaper = printer.outputFormat() == QPrinter::NativeFormat;
    paintAlignmentPage(painter, *m_sheet, onPaper ? offset() : QPointF());
}

void PrintOffsetDialog::save()
{
    if (!writePrintOffset(offset())) {
        MsgBox(this, QStringLiteral("設定ファイルに書き込めません: %1").arg(locateData().settingsFile));
        return;
    }
    accept();
}

} // namespace corvane
