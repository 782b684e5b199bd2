#include "db/RowSearch.h"

#include "common/InTwoHalves.h"

#include <atomic>

namespace vorlin::db {

std::uint64_t newRowsVersion()
{
    static std::atomic<std::uint64_t> versions{0};
    return ++versions;
}

bool RowSearch::narrows(const RowFilter& filter, Folding folding, const Found& before) const
{
    return !before.filter.isEmpty() && before.folding == folding && before.version == rows_.version
           && before.order.lock() == rows_.order && db::narrows(filter, before.filter);
}

RowSearch::Found RowSearch::find(const RowFilter& filter, Folding folding, const Found* before) const
{
    Found found{filter, folding, rows_.version, rows_.order, rows_.order};
    if (filter.isEmpty())
        return found;
    const RowSet& set = *rows_.set;
    const std::size_t count = std::size_t(set.rowCount());
    const RowLetters* letters = rows_.letters && rows_.letters->size() == count ? rows_.letters->data() : nullptr;
    const InMemoryFilter meets(filter, rows_.columns, folding, letters ? rows_.letterColumns : QStringList());
    const auto tried = [&](std::uint32_t row) {
        return meets.meets(set, int(row), letters ? letters[row] : ~RowLetters(0));
    };
    auto places = std::make_shared<Places>();
    if (before && narrows(filter, folding, *before)) {
        // Only the rows found before, in their order, each half's finds kept
        // in it.
        const Places& candidates = *before->rows;
        Places halves[2];
        inTwoHalves(candidates.size(), [&](int half, std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                if (tried(candidates[i]))
                    halves[half].push_back(candidates[i]);
        });
        *places = std::move(halves[0]);
        places->insert(places->end(), halves[1].begin(), halves[1].end());
    } else {
        std::vector<char> met(count, false);
        inTwoHalves(count, [&](int, std::size_t from, std::size_t to) {
            for (std::size_t row = from; row < to; ++row)
                met[row] = tried(std::uint32_t(row));
        });
        for (const std::uint32_t row : *rows_.order)
            if (met[row])
                places->push_back(row);
    }
    found.rows = std::move(places);
    return found;
}

}  // namespace vorlin::db
