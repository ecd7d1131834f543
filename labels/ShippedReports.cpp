#include "ShippedReports.h"

#include <QCryptographicHash>
#include <QFile>

namespace corvane {

namespace {

struct EarlierVersion {
    const char *file;
    const char *sha256;
};

// Every version of the report files this project shipped before the current one (file name,
// SHA-256 of its bytes). When a report file changes, add the hash of the version it replaces:
//   git show <commit>:labels/reports/NAME.PRP | sha256sum
constexpr EarlierVersion kEarlierVersions[] = {
    {"MALAB26.PRP", "73c9d8d8635ad4986b8f116c8144c1796857d255495d779238d7df950929f077"}, // 2e0a5b5
    {"MALAB26.PRP", "c83bb1e60e8c01e70af96a05270f9c4861718b6c267128d7abc3b49993564adf"}, // d2e3ebc
    {"MALAB26.PRP", "c91dbb62987bc30e36772f6a9ffecbf78fafd90eb38ecfa3de43bfaf201bcb39"}, // 61e2914
    {"MALAB26.PRP", "d47ec99e42017cfec9b5e0aa677663bac99e9374e371c99da2be975ff8095dbe"}, // d5b86bb
    {"MALAB37.PRP", "430b087d34fb118b5a1ae52445cdd9720d5490b4aa4a98391ec095d017d61682"}, // 2e0a5b5
    {"MALAB37.PRP", "65633bcc590ffc98a2ce7f375ae3838ffa22e8bad0e436390561e9596deb2a06"}, // 4a083b2
    {"MALAB37.PRP", "ae41ea25ae3b380328d0ce7d0eaf4cce999d2a0ca5f6acd6eac0603a5e4e7b16"}, // d2e3ebc
    {"MALAB37.PRP", "b29ba0f04a638e55a36c86ce74c5be4b57662175892ed2afbcf870121cb900e0"}, // 61e2914
    {"MALAB37.PRP", "a9362d7d5597a2d4b0a10716b8e5af86105d7ea8fcd68411f29315b8455a5ccd"}, // d5b86bb
    {"MULABEL.PRP", "80c614601c72ec0624cb134e5e89942897d8e1f5e15c7637bc9c5ca0f153c2d3"}, // ed7572d
    {"MULABEL.PRP", "a5abb89193f5f764baa2ab6ff60702a488e1da99bf57e6a7e17cf57cbdc5bd1e"}, // a905d9f
    {"MULABEL.PRP", "c9de26983a910e13eca61c8777984c6c51542a662c42c24b2edd9c64af13234d"}, // 2e0a5b5
    {"MULABEL.PRP", "ec9a31203df30c5bd69cdfc1769a565f26542557c799848e753127fe94f0e27d"}, // 61e2914
    {"MULABEL.PRP", "f19999b3a8f00a7a8ba9fc15d103db473780d7cff806c40d02e9600d5d9eaebf"}, // d2e3ebc
    {"MULABEL.PRP", "f618e9d14e097f0b6124cadc773905b51808d96f59f0ec424868e7b129ac7f72"}, // 6d8a9d4
    {"SMLABEL.PRP", "2f01f5217d7f811eb8ff34632fc7c5b4afc3a4f9ac9aaed8930ddf90ad4ea956"}, // 2e0a5b5
    {"SMLABEL.PRP", "7f86e369d9f05c08c3d3eaffdadc7411adbbb3953429599d43fc15212c98f286"}, // 61e2914
    {"SMLABEL.PRP", "8a3da2a6c4e79472f17e789e030ae8885d447585c07b8755ff749170a28c43dc"}, // ed7572d
    {"SMLABEL.PRP", "864500515a824e27cb25a2da059b390b268e9bb57e30406d63b90d28fbe1d95c"}, // d5b86bb
    {"SULABEL.PRP", "7fea81ebc95eed74573295a52cfce3372f58f1263ed78ebaa8d726e101152bbb"}, // 61e2914
    {"SULABEL.PRP", "887b482096c4c3adaaf29bbe3e24e4ea966e820441d27a77e136786932141e0a"}, // ed7572d
    {"SULABEL.PRP", "989710cef6e18c928148978163eaac45ff52f3cd1c3acdc2e1073dc885a17973"}, // 2e0a5b5
    {"SULABEL.PRP", "c3fa2f2a26028cf2a4f36decfeb4b4126d659c00a43c8b552d85a69c6b73908c"}, // d5b86bb
};

} // namespace

std::optional<QString> currentShippedReport(const QString &fileName, const QByteArray &contents)
{
    const QByteArray hash = QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex();
    for (const EarlierVersion &earlier : kEarlierVersions) {
        if (fileName.compare(QLatin1String(earlier.file), Qt::CaseInsensitive) != 0 || hash != earlier.sha256)
            continue;
        QFile current(QStringLiteral(":/corvane-reports/") + QLatin1String(earlier.file));
        if (!current.open(QIODevice::ReadOnly))
            return std::nullopt;
        return QString::fromUtf8(current.readAll());
    }
    return std::nullopt;
}

} // namespace corvane
