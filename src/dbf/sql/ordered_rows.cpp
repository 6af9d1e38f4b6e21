#include "ordered_rows.h"

#include <list>
#include <mutex>

#include "../table_store.h"
#include "sort.h"

namespace dbf::sql {
namespace {

constexpr std::size_t kKept = 8;  // about 12 MB each for a million rows

struct Entry {
    std::weak_ptr<TableStore> store;
    const TableStore* address;
    int field;
    std::uint64_t version;
    std::shared_ptr<const OrderedRows> order;
};

}  // namespace

std::shared_ptr<const OrderedRows> orderedRows(const std::shared_ptr<TableStore>& store,
                                               int field) {
    static std::mutex mutex;
    static std::list<Entry> entries;  // most recently used first
    const std::lock_guard<std::mutex> lock(mutex);
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->store.expired()) {
            it = entries.erase(it);
            continue;
        }
        if (it->address == store.get() && it->field == field) {
            if (it->version == store->version()) {
                entries.splice(entries.begin(), entries, it);
                return entries.front().order;
            }
            it = entries.erase(it);  // the data changed
            continue;
        }
        ++it;
    }
    auto order = std::make_shared<OrderedRows>();
    const auto column = store->column(field);
    order->rows = orderByNumber(*column, *store->liveRows());
    while (order->emptyCount < order->rows.size() && column->isNull(order->rows[order->emptyCount]))
        ++order->emptyCount;
    order->keys.reserve(order->rows.size() - order->emptyCount);
    for (std::size_t i = order->emptyCount; i < order->rows.size(); ++i)
        order->keys.push_back(column->numbers[order->rows[i]]);
    entries.push_front({store, store.get(), field, store->version(), order});
    if (entries.size() > kKept) entries.pop_back();
    return order;
}

}  // namespace dbf::sql
