#include "Translations.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace corvane {

namespace {

// The texts of Qt 6.4 that its Japanese translation lacks, by context and English text.
class MissingQtTexts : public QTranslator {
public:
    MissingQtTexts()
    {
        const auto add = [this](const char *context, const char *source, const char *japanese) {
            m_texts.insert({QString::fromLatin1(context), QString::fromLatin1(source)}, QString::fromUtf8(japanese));
        };
        add("QCommandLineParser", "Displays help on commandline options.",
            "コマンドラインオプションの説明を表示する。");
        add("QCommandLineParser", "Displays help including Qt specific options.",
            "Qt 固有のオプションを含む説明を表示する。");
        add("QPrintPropertiesWidget", "Advanced", "詳細設定");
        add("QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
            "矛盾する設定があります。設定を直してください。");
        add("QPrintSettingsOutput", "Pages", "ページ指定");
        add("QPrintSettingsOutput",
            "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
            "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
            "ページまたは範囲をカンマで区切って指定します。範囲は二つの数をハイフンでつなぎます。"
            "例: 3,5-7,9 は 3、5、6、7、9 ページを印刷します。");
        add("QPrintSettingsOutput", "Double Sided Printing", "両面印刷");
        add("QPrintSettingsOutput", "Off", "しない");
        add("QPrintSettingsOutput", "Long side binding", "長辺とじ");
        add("QPrintSettingsOutput", "Short side binding", "短辺とじ");
        add("QPrintDialog", "Duplex Settings Conflicts", "両面印刷の設定が矛盾しています");
        add("QPrintDialog", "Advanced Option Conflicts", "詳細設定が矛盾しています");
        add("QPrintDialog", "Page Setup Conflicts", "ページ設定が矛盾しています");
        add("QAbstractFileIconProvider", "Drive", "ドライブ");
        add("QAbstractFileIconProvider", "Folder", "フォルダ");
    }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        return m_texts.value({QString::fromLatin1(context), QString::fromLatin1(sourceText)});
    }
    bool isEmpty() const override { return false; }

private:
    QHash<std::pair<QString, QString>, QString> m_texts;
};

} // namespace

void useJapaneseTranslations()
{
    static QTranslator qtTexts;
    static MissingQtTexts ourTexts;
    static bool installed = false;
    if (installed || !QCoreApplication::instance())
        return;
    installed = true;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    // Installed last, so asked first: it holds only what Qt's translation lacks.
    QCoreApplication::installTranslator(&ourTexts);
}

} // namespace corvane
