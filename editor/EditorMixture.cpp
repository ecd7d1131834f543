// The product as a mixture in the editor: the contents of the ticked substances, the
// product's own data, and its classification and legal duty as the user types.
#include "CleanInput.h"
#include "ProductEditor.h"
#include "mixture/ContentText.h"
#include "mixture/IngredientCheck.h"
#include "mixture/LegalDuty.h"
#include "mixture/MixtureClassifier.h"
#include "mixture/MixtureText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

namespace corvane {
namespace {

enum ContentColumn { NumberColumn, NameColumn, ContentColumn, ColumnCount };

// A number typed in a box of the 「物性」 box (full-width digits and minus accepted).
std::optional<double> typedNumber(const QString &typed, bool *bad)
{
    QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    text.replace(QChar(0x2212), QLatin1Char('-'));
    *bad = false;
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    *bad = !ok;
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString shownNumber(const std::optional<double> &value) { return value ? ghs::percentText(*value) : QString(); }

// The 「含有率(%)」 cell's editor reports every keystroke, so the classification follows the
// typing rather than the end of the edit.
class ContentDelegate : public QStyledItemDelegate {
public:
    ContentDelegate(QObject *parent, std::function<void(int, const QString &)> typed)
        : QStyledItemDelegate(parent), m_typed(std::move(typed))
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        editor->setPlaceholderText(QStringLiteral("例 10-20"));
        const int number = index.data(Qt::UserRole).toInt();
        QObject::connect(editor, &QLineEdit::textEdited, editor,
                         [this, number](const QString &text) { m_typed(number, text); });
        return editor;
    }

private:
    std::function<void(int, const QString &)> m_typed;
};

} // namespace

QWidget *ProductEditor::buildMixtureControls()
{
    auto *box = new QGroupBox(QStringLiteral("含有率と混合物の分類"), this);
    contentsTable = new QTableWidget(0, ColumnCount, box);
    contentsTable->setHorizontalHeaderLabels(
        {QStringLiteral("番号"), QStringLiteral("物質名"), QStringLiteral("含有率(%)")});
    contentsTable->verticalHeader()->hide();
    contentsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    contentsTable->setEditTriggers(QAbstractItemView::AllEditTriggers);
    contentsTable->setItemDelegateForColumn(
        ContentColumn,
        new ContentDelegate(contentsTable, [this](int number, const QString &typed) { contentEdited(number, typed); }));
    contentsTable->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    contentsTable->setColumnWidth(NumberColumn, 52);
    contentsTable->setColumnWidth(ContentColumn, 84);
    contentsTable->verticalHeader()->setDefaultSectionSize(contentsTable->fontMetrics().height() + 8);
    contentsTable->setMinimumHeight(110);

    auto *properties = new QGroupBox(QStringLiteral("物性"), box);
    const auto numberBox = [this, properties](const QString &hint) {
        auto *line = new QLineEdit(properties);
        line->setPlaceholderText(hint);
        line->setMaximumWidth(110);
        cleanOnInput(line);
        connect(line, &QLineEdit::textEdited, this, &ProductEditor::propertiesEdited);
        return line;
    };
    flashPointBox = numberBox(QStringLiteral("不明"));
    boilingPointBox = numberBox(QStringLiteral("不明"));
    viscosityBox = numberBox(QStringLiteral("不明"));
    remainderHarmlessBox = new QCheckBox(QStringLiteral("残りは無害"), properties);
    remainderHarmlessBox->setToolTip(QStringLiteral("選択した物質以外の部分に危険有害性がないことが分かっている"));
    connect(remainderHarmlessBox, &QCheckBox::clicked, this, &ProductEditor::propertiesEdited);
    auto *form = new QGridLayout(properties);
    form->setContentsMargins(6, 4, 6, 4);
    form->addWidget(new QLabel(QStringLiteral("引火点 °C"), properties), 0, 0);
    form->addWidget(flashPointBox, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("初留点 °C"), properties), 0, 2);
    form->addWidget(boilingPointBox, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("動粘性率 mm²/s (40 °C)"), properties), 1, 0);
    form->addWidget(viscosityBox, 1, 1);
    form->addWidget(remainderHarmlessBox, 1, 2, 1, 2);

    classificationBox = new QPlainTextEdit(box);
    classificationBox->setReadOnly(true);
    classificationBox->setTabChangesFocus(true);
    classificationBox->setMinimumHeight(90);

    auto *layout = new QVBoxLayout(box);
    layout->addWidget(contentsTable, 1);
    layout->addWidget(properties);
    layout->addWidget(new QLabel(QStringLiteral("法令上の義務と混合物の分類"), box));
    layout->addWidget(classificationBox, 1);
    return box;
}

void ProductEditor::showContents()
{
    const std::vector<int> numbers = numbersToSave();
    // A substance no longer ticked has no content.
    for (auto it = m_state.mixture.contents.begin(); it != m_state.mixture.contents.end();)
        it = std::binary_search(numbers.begin(), numbers.end(), it->first) ? std::next(it)
                                                                           : m_state.mixture.contents.erase(it);
    for (auto it = m_state.unreadContents.begin(); it != m_state.unreadContents.end();)
        it = std::binary_search(numbers.begin(), numbers.end(), it->first) ? std::next(it)
                                                                           : m_state.unreadContents.erase(it);

    // Items, not widgets: a product may tick thousands of substances.
    const QSignalBlocker quiet(contentsTable);
    contentsTable->setUpdatesEnabled(false);
    contentsTable->setRowCount(static_cast<int>(numbers.size()));
    const auto cell = [this](int row, int column) {
        QTableWidgetItem *item = contentsTable->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            item->setFlags(column == ContentColumn ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                                   : Qt::ItemIsEnabled);
            if (column == ContentColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            contentsTable->setItem(row, column, item);
        }
        return item;
    };
    for (int row = 0; row < static_cast<int>(numbers.size()); ++row) {
        const int number = numbers[static_cast<size_t>(row)];
        cell(row, NumberColumn)->setText(QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')));
        cell(row, NameColumn)
            ->setText(m_state.ticks.contains(number) ? m_state.substance(number).name
                                                     : QStringLiteral("物質マスタにない物質"));
        QTableWidgetItem *content = cell(row, ContentColumn);
        content->setData(Qt::UserRole, number);
        const auto stored = m_state.mixture.contents.find(number);
        const auto unread = m_state.unreadContents.find(number);
        content->setText(stored != m_state.mixture.contents.end() ? ghs::contentText(stored->second)
                         : unread != m_state.unreadContents.end() ? unread->second.typed
                                                                  : QString());
    }
    contentsTable->setUpdatesEnabled(true);
    showClassification();
}

void ProductEditor::contentEdited(int substanceNumber, const QString &typed)
{
    QString problem;
    const std::optional<ghs::Content> content = ghs::parseContentText(typed, &problem);
    m_state.unreadContents.erase(substanceNumber);
    if (content)
        m_state.mixture.contents[substanceNumber] = *content;
    else
        m_state.mixture.contents.erase(substanceNumber);
    if (!problem.isEmpty()) {
        const QString name = m_state.ticks.contains(substanceNumber) ? m_state.substance(substanceNumber).name
                                                                     : QStringLiteral("物質マスタにない物質");
        m_state.unreadContents[substanceNumber] = {
            typed, QStringLiteral("%1（物質番号 %2）: %3").arg(name).arg(substanceNumber).arg(problem)};
    }
    showClassification();
}

void ProductEditor::showProperties()
{
    const ghs::ProductProperties &properties = m_state.mixture.properties;
    flashPointBox->setText(shownNumber(properties.flashPointCelsius));
    boilingPointBox->setText(shownNumber(properties.initialBoilingPointCelsius));
    viscosityBox->setText(shownNumber(properties.kinematicViscosity40C));
    remainderHarmlessBox->setChecked(properties.remainderHarmless);
    m_state.propertyProblems.clear();
}

void ProductEditor::propertiesEdited()
{
    ghs::ProductProperties &properties = m_state.mixture.properties;
    m_state.propertyProblems.clear();
    const auto read = [this](QLineEdit *box, const QString &what, std::optional<double> &value) {
        bool bad = false;
        value = typedNumber(box->text(), &bad);
        if (bad)
            m_state.propertyProblems
                << QStringLiteral("%1「%2」は数値として読めません（不明として分類します）。").arg(what, box->text());
    };
    read(flashPointBox, QStringLiteral("引火点"), properties.flashPointCelsius);
    read(boilingPointBox, QStringLiteral("初留点"), properties.initialBoilingPointCelsius);
    read(viscosityBox, QStringLiteral("動粘性率"), properties.kinematicViscosity40C);
    if (properties.kinematicViscosity40C && *properties.kinematicViscosity40C < 0) {
        m_state.propertyProblems << QStringLiteral("動粘性率は0以上です（不明として分類します）。");
        properties.kinematicViscosity40C.reset();
    }
    properties.remainderHarmless = remainderHarmlessBox->isChecked();
    showClassification();
}

void ProductEditor::showClassification()
{
    const std::vector<int> numbers = numbersToSave();
    QStringList lines;
    for (const auto &[number, unread] : m_state.unreadContents)
        lines << unread.message;
    lines << m_state.propertyProblems;
    if (numbers.empty()) {
        lines << QStringLiteral("物質が選択されていません。");
    } else if (m_state.mixture.contents.empty() && m_state.unreadContents.empty()) {
        lines << QStringLiteral("含有率を入力すると、法令上の義務と混合物の分類を表示します。");
    } else {
        const std::vector<ghs::Ingredient> ingredients = m_mixtureMaster.ingredients(numbers, m_state.mixture.contents);
        const ghs::MixtureClassification classification = ghs::classifyMixture(ingredients, m_state.mixture.properties);
        // The duty first: two lines that decide whether a label and an SDS are due at all.
        if (!classification.refused())
            lines << ghs::legalDutyOf(ingredients).basis;
        // A product just ticked lacks every content: the first few say what is missing.
        constexpr qsizetype kShown = 10;
        const QStringList summary = ghs::classificationSummary(classification);
        lines << summary.mid(0, kShown);
        if (summary.size() > kShown)
            lines << QStringLiteral("ほか %1 件").arg(summary.size() - kShown);
    }
    classificationBox->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace corvane
