#include "ui/richtext/PastedStructure.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>

#include <vector>

namespace vorlin::ui {
namespace {

// The indents the RTF reader gives a list's paragraph (720 and -360 twips).
constexpr qreal kListIndent = 48;
constexpr qreal kLabelOverhang = -24;

QTextTable* firstTable(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (QTextTable* table = QTextCursor(block).currentTable())
            return table;
    return nullptr;
}

// A cell's content without the blanks HTML's layout leaves at its end.
QTextDocumentFragment cellContent(const QTextTableCell& cell)
{
    QTextCursor content = cell.firstCursorPosition();
    const int start = content.position();
    int end = cell.lastCursorPosition().position();
    while (end > start && content.document()->characterAt(end - 1).isSpace())
        --end;
    content.setPosition(end, QTextCursor::KeepAnchor);
    return content.selection();
}

void flattenTable(QTextDocument& document, QTextTable& table)
{
    std::vector<std::vector<QTextDocumentFragment>> rows(std::size_t(table.rows()));
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row && cell.column() == column)  // a spanned cell counts once
                rows[std::size_t(row)].push_back(cellContent(cell));
        }
    }
    const int at = table.firstPosition() - 1;  // where the table begins
    table.removeRows(0, table.rows());
    QTextCursor cursor(&document);
    cursor.setPosition(at);
    if (!cursor.atBlockStart())
        cursor.insertBlock(QTextBlockFormat());
    const QTextBlockFormat following = cursor.blockFormat();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        cursor.setBlockFormat(QTextBlockFormat());
        const auto& cells = rows[row];
        for (std::size_t cell = 0; cell < cells.size(); ++cell) {
            if (cell > 0)
                cursor.insertText(QStringLiteral("\t"));
            cursor.insertFragment(cells[cell]);
        }
        if (row + 1 < rows.size())
            cursor.insertBlock(QTextBlockFormat());
        else if (!cursor.atBlockEnd())
            cursor.insertBlock(following);
    }
}

QString labelOf(const QTextList& list, const QTextBlock& block)
{
    switch (list.format().style()) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("•");
    case QTextListFormat::ListCircle:
        return QStringLiteral("◦");
    case QTextListFormat::ListSquare:
        return QStringLiteral("▪");
    default:
        return list.itemText(block);
    }
}

void flattenLists(QTextDocument& document)
{
    struct Item {
        int position;
        QString label;
        int level;
    };
    std::vector<Item> items;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (const QTextList* list = block.textList())
            items.push_back({block.position(), labelOf(*list, block), std::max(1, list->format().indent())});
    // From the last item up: a label put in moves none of the items before it.
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        const QTextBlock block = document.findBlock(item->position);
        if (QTextList* list = block.textList())
            list->remove(block);
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0);
        format.setLeftMargin(kListIndent * item->level);
        format.setTextIndent(kLabelOverhang);
        cursor.setBlockFormat(format);
        cursor.insertText(item->label + u'\t');
    }
}

// HTML's layout leaves blanks at the ends of paragraphs that show nothing.
void dropTrailingBlanks(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        qsizetype end = text.size();
        while (end > 0 && text[end - 1] == u' ')
            --end;
        if (end == text.size())
            continue;
        QTextCursor blanks(&document);
        blanks.setPosition(block.position() + int(end));
        blanks.setPosition(block.position() + int(text.size()), QTextCursor::KeepAnchor);
        blanks.removeSelectedText();
    }
}

}  // namespace

void flattenPastedStructure(QTextDocument& document)
{
    while (QTextTable* table = firstTable(document))
        flattenTable(document, *table);
    flattenLists(document);
    dropTrailingBlanks(document);
}

}  // namespace vorlin::ui
