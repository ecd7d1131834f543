// Times the editor with a large master: opening on a product of 3,000 ticked substances,
// switching between two such products (save and load), toggling "選択物質のみ表示" and
// "すべて選択反転", searching; typing a content of a product of 50 substances (the mixture
// classified and the legal duty shown on every keystroke); then opening with the largest
// master the list allows (32,767).
// With --database URI (an empty PostgreSQL database) the first part runs on that server
// instead, on the same data copied there as corvane-db copy does.
#include "BigMaster.h"
#include "Catalogue.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "ProductEditor.h"
#include "ProgramMaster.h"
#include "ServerAddress.h"
#include "ServerSetup.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

using namespace corvane;

namespace {

QTextStream out(stdout);

template <class Work>
void timeIt(const char *what, Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents(); // let the list repaint, as a user would see it
    out << what << ": " << timer.nsecsElapsed() / 1000000.0 << " ms\n";
    out.flush();
}

std::unique_ptr<Database> bigDatabase(const QTemporaryDir &dir, int count, const QString &serverUri = {})
{
    QString error;
    if (!makeBigDataFolder(dir.filePath(QStringLiteral("Data")), count, &error))
        qFatal("%s", qPrintable(error));
    auto db = openDatabaseFile(dir.filePath(QStringLiteral("Data/Data.mde")));
    if (!db)
        qFatal("%s", qPrintable(db.errorText()));
    if (serverUri.isEmpty())
        return std::move(*db);
    const auto address = parseServerUri(serverUri);
    if (!address)
        qFatal("%s", qPrintable(address.errorText()));
    const auto master = programMaster();
    if (!master)
        qFatal("%s", qPrintable(master.errorText()));
    if (const RunResult copied = copyToServer(**db, *address, *master); !copied.outcome)
        qFatal("%s", qPrintable(copied.outcome.errorText()));
    auto server = openServerDatabase(*address);
    if (!server)
        qFatal("%s", qPrintable(server.errorText()));
    return std::move(*server);
}

// Opens the editor on name, runs work while it is open, then closes it; prints how long the
// opening took (from edit until the form is shown and idle).
void openAndTime(Database &db, const QString &name, const char *what, const std::function<void(ProductEditor &)> &work)
{
    ProductEditor form({});
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(0, &form, [&] {
        out << what << ": " << timer.nsecsElapsed() / 1000000.0 << " ms\n";
        out.flush();
        work(form);
        form.backButton->click();
    });
    form.edit(db, name);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype option = arguments.indexOf(QStringLiteral("--database"));
    const QString serverUri = option > 0 ? arguments.value(option + 1) : QString();
    {
        QTemporaryDir dir;
        auto db = bigDatabase(dir, 3000, serverUri);
        std::vector<int> all;
        for (int i = 1; i <= 3000; ++i)
            all.push_back(i);
        for (const QString &name : {QStringLiteral("大製品A"), QStringLiteral("大製品B")}) {
            const int id = **catalogue::registerProduct(*db, name);
            catalogue::addEntries(*db, id, all);
            catalogue::writeProductRow(*db, id, {name, {}, {}, 0}, 3000);
        }
        // The first opening also pays for the connection's first queries (the server builds
        // its caches per session); a program has made those at start-up already.
        openAndTime(*db, QStringLiteral("大製品B"), "open editor, 3000 of 3000 ticked, first on this connection",
                    [](ProductEditor &) {});
        openAndTime(*db, QStringLiteral("大製品A"), "open editor, 3000 of 3000 ticked", [&](ProductEditor &form) {
            for (int round = 0; round < 2; ++round) {
                timeIt("switch product (save 3000 + load 3000)", [&] {
                    form.setText(form.productNameEdit,
                                 round == 0 ? QStringLiteral("大製品B") : QStringLiteral("大製品A"));
                    form.checkProductName();
                });
            }
            timeIt("toggle 選択物質のみ表示 on", [&] { form.tickedOnlyBox->setChecked(true); });
            timeIt("toggle 選択物質のみ表示 off", [&] { form.tickedOnlyBox->setChecked(false); });
            timeIt("すべて選択反転", [&] { form.invertTicks(); });
            timeIt("すべて選択反転 again", [&] { form.invertTicks(); });
            // The substance search, one keystroke at a time, then emptied.
            const QString typed = form.state().substance(1500).name.left(3);
            for (qsizetype length = 1; length <= typed.size(); ++length) {
                const QByteArray label = "search, keystroke " + QByteArray::number(length);
                timeIt(label.constData(), [&] { form.searchBox->setText(typed.left(length)); });
            }
            timeIt("search by CAS RN digits", [&] { form.searchBox->setText(QStringLiteral("7647")); });
            timeIt("search emptied", [&] { form.searchBox->clear(); });
        });
        // A product of 50 substances with contents: each keystroke in a 「含有率(%)」 cell
        // classifies the mixture and judges the legal duty again.
        const int mixtureId = **catalogue::registerProduct(*db, QStringLiteral("混合物50"));
        ProductMixture mixture;
        std::vector<int> fifty;
        for (int i = 1; i <= 50; ++i) {
            fifty.push_back(i * 60);
            mixture.contents[i * 60] = ghs::Content::value(1.5);
        }
        if (const auto saved = catalogue::saveProduct(*db, mixtureId, fifty, {QStringLiteral("混合物50"), {}, {}, 0},
                                                      std::nullopt, &mixture);
            !saved)
            qFatal("%s", qPrintable(saved.errorText()));
        openAndTime(*db, QStringLiteral("混合物50"), "open editor, product of 50 substances with contents",
                    [&](ProductEditor &form) {
                        QTableWidgetItem *first = form.contentsTable->item(0, 2);
                        form.contentsTable->editItem(first);
                        auto *cell = form.contentsTable->viewport()->findChild<QLineEdit *>();
                        cell->clear();
                        const QString typed = QStringLiteral("10-20.5");
                        for (qsizetype length = 1; length <= typed.size(); ++length) {
                            const QByteArray label = "content, keystroke " + QByteArray::number(length);
                            timeIt(label.constData(), [&] { QTest::keyClick(cell, typed.at(length - 1).toLatin1()); });
                        }
                    });
    }
    if (!serverUri.isEmpty())
        return 0; // the largest master is about the list, the same on either database
    {
        QTemporaryDir dir;
        auto db = bigDatabase(dir, 32767);
        openAndTime(*db, QString(), "open editor, master of 32767", [](ProductEditor &) {});
    }
    return 0;
}
