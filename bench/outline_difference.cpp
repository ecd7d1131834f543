// Finds the long straight lines (label outlines and frames) in two renderings of the same
// page and says how far apart they lie: outline_difference EXPECTED.png PRINTED.png DPI
// Lines on the paper's edge (the outer outlines of edge-to-edge stock) are left out: half of
// such a line is off the paper, so where its rest lies says nothing.
// Prints "N vertical, M horizontal lines, largest difference D mm"; exit status 2 when the
// two pages do not have the same lines.
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <cmath>

namespace {

// Darker than this is ink; the guide outlines are light grey.
constexpr int kInk = 224;
// A column (row) is part of a line when ink covers this share of it.
constexpr double kLineShare = 0.4;
// How near the paper's edge a line is taken to be on the edge.
constexpr double kEdgeMm = 1.0;

// The centres of the runs of columns (vertical) or rows that are lines, in pixels, weighted
// by their darkness so that an anti-aliased edge counts as far as it is dark.
QList<double> lineCentres(const QImage &image, bool vertical, double edgePixels)
{
    const int across = vertical ? image.width() : image.height();
    const int along = vertical ? image.height() : image.width();
    QList<double> centres;
    double weightSum = 0, positionSum = 0;
    for (int i = 0; i <= across; ++i) {
        int inked = 0;
        double darkness = 0;
        for (int j = 0; i < across && j < along; ++j) {
            const int grey = vertical ? image.constScanLine(j)[i] : image.constScanLine(i)[j];
            if (grey < kInk) {
                ++inked;
                darkness += 255 - grey;
            }
        }
        if (inked > kLineShare * along) {
            weightSum += darkness;
            positionSum += darkness * i;
        } else if (weightSum > 0) {
            const double centre = positionSum / weightSum;
            if (centre > edgePixels && centre < across - edgePixels)
                centres.append(centre);
            weightSum = positionSum = 0;
        }
    }
    return centres;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 4) {
        out << "usage: outline_difference EXPECTED.png PRINTED.png DPI\n";
        return 1;
    }
    const QImage expected = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_Grayscale8);
    const QImage printed = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_Grayscale8);
    const double mmPerPixel = 25.4 / QString::fromLocal8Bit(argv[3]).toDouble();
    if (expected.isNull() || printed.isNull()) {
        out << "cannot read the images\n";
        return 1;
    }
    double largest = 0;
    int counts[2] = {0, 0};
    for (const bool vertical : {true, false}) {
        const double edge = kEdgeMm / mmPerPixel;
        const QList<double> a = lineCentres(expected, vertical, edge), b = lineCentres(printed, vertical, edge);
        if (a.size() != b.size()) {
            out << (vertical ? "vertical" : "horizontal") << " lines differ: " << a.size() << " expected, " << b.size()
                << " printed\n";
            return 2;
        }
        for (qsizetype i = 0; i < a.size(); ++i)
            largest = std::max(largest, std::abs(a[i] - b[i]) * mmPerPixel);
        counts[vertical ? 0 : 1] = int(a.size());
    }
    out << counts[0] << " vertical, " << counts[1] << " horizontal lines, largest difference "
        << QString::number(largest, 'f', 3) << " mm\n";
    return 0;
}
