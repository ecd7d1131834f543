#pragma once

#include "Outcome.h"
#include "ReportFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

class ReportEngine;

namespace samples {

struct Substance {
    QString name;
    QString signalWord;     // 危険 / 警告
    QStringList pictograms; // "GHS02", …
    QStringList hazards;    // one statement each
};

struct Supplier {
    QString company;
    QString address;
    QString telFax;
};

struct Product {
    QString name;
    QString ingredients;
    QString storageNotes;
    QString precautions; // grouped under 【安全対策】【応急措置】【保管】【廃棄】
};

// `count` substances, the same every time; long and short names, one to
// five pictograms, up to ten hazard statements.
QList<Substance> sampleSubstances(int count);
Supplier sampleSupplier();
Product sampleProduct();

// Lays out a Data folder under `baseFolder` as the program has it: the
// report files and the pictograms GHS01.svg … GHS09.svg.
bool prepareDataFolder(const QString &baseFolder, const QString &reportsSource, const QString &pictogramsSource,
                       QString *error);

// Print runs as the label printing program makes them; each returns the outcome of the
// document, or of the call that failed.
Outcome printSheets(ReportEngine &engine, ReportFile report, int slotsPerSheet, const QList<Substance> &substances);
Outcome printNormalLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                         const Substance &substance);
Outcome printModelLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                        const Substance &substance);
Outcome printMultiSubstanceLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                                 const QList<Substance> &substances);

} // namespace samples
} // namespace corvane
