#include "db/InMemoryFilter.h"

#include "db/UnicodeLike.h"

#include <algorithm>
#include <optional>

namespace vorlin::db {

RowLetters lettersOfRow(const RowSet& rows, std::uint32_t row, const std::vector<int>& columns)
{
    RowLetters letters = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string_view text;
        std::uint32_t held = 0;
        if (rows.textAt(int(row), columns[i], &text))
            held = lettersOfUtf8(text);
        else if (!rows.value(int(row), columns[i]).isNull())
            held = ~0u;  // a value that is no text is tried as it is
        letters |= RowLetters(held) << (32 * i);
    }
    return letters;
}

InMemoryFilter::InMemoryFilter(const RowFilter& filter, const QStringList& columns, CompiledLike::Folding folding,
                               const QStringList& letterColumns)
{
    for (const QList<LikeTerm>& group : filter) {
        std::vector<Term>& terms = groups_.emplace_back();
        for (const LikeTerm& term : group) {
            const int lettered = columnIndexOf(letterColumns, term.column);
            CompiledLike compiled(term.pattern, folding);
            const std::uint32_t required = lettered >= 0 ? compiled.requiredLetters() : 0;
            terms.push_back({columnIndexOf(columns, term.column), std::move(compiled), lettered * 32, required});
        }
    }
}

// A value that is no text (a number, in a column that took one) is matched
// in its text form, as the database does; an empty value never.
bool InMemoryFilter::termMeetsValue(const Term& term, const RowSet& rows, int row)
{
    const QVariant value = rows.value(row, term.column);
    return !value.isNull() && term.compiled.matchesUtf8(value.toString().toStdString());
}

bool InMemoryFilter::meets(const RowSet& rows, int row, RowLetters letters) const
{
    for (const std::vector<Term>& group : groups_) {
        bool met = false;
        for (const Term& term : group) {
            if (term.column < 0
                || (term.lettersShift >= 0 && (std::uint32_t(letters >> term.lettersShift) & term.required) != term.required))
                continue;
            std::string_view text;
            if (rows.textAt(row, term.column, &text) ? term.compiled.matchesUtf8(text) : termMeetsValue(term, rows, row)) {
                met = true;
                break;
            }
        }
        if (!met)
            return false;
    }
    return true;
}

namespace {

// "%text%" → "text"; nothing for a pattern of another form.
std::optional<QStringView> containedText(const QString& pattern)
{
    if (pattern.size() < 2 || !pattern.startsWith(u'%') || !pattern.endsWith(u'%'))
        return std::nullopt;
    const QStringView inner = QStringView(pattern).mid(1, pattern.size() - 2);
    if (inner.contains(u'%') || inner.contains(u'_'))
        return std::nullopt;
    return inner;
}

// A row that meets `narrower` meets `broader`.
bool termImplies(const LikeTerm& narrower, const LikeTerm& broader)
{
    if (narrower.column.compare(broader.column, Qt::CaseInsensitive) != 0)
        return false;
    if (narrower.pattern == broader.pattern)
        return true;
    const std::optional<QStringView> longer = containedText(narrower.pattern);
    const std::optional<QStringView> shorter = containedText(broader.pattern);
    return longer && shorter && longer->contains(*shorter);
}

}  // namespace

bool narrows(const RowFilter& narrower, const RowFilter& broader)
{
    return std::all_of(broader.begin(), broader.end(), [&](const QList<LikeTerm>& broadGroup) {
        return std::any_of(narrower.begin(), narrower.end(), [&](const QList<LikeTerm>& narrowGroup) {
            return std::all_of(narrowGroup.begin(), narrowGroup.end(), [&](const LikeTerm& term) {
                return std::any_of(broadGroup.begin(), broadGroup.end(),
                                   [&](const LikeTerm& broad) { return termImplies(term, broad); });
            });
        });
    });
}

}  // namespace vorlin::db
