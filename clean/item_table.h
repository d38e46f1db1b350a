#pragma once
// Binds a table of item rows to the run's plain action pointers: each row
// gets its own action, which runs the group's row runner on that row.
#include <array>
#include <cstddef>
#include <iterator>
#include <utility>

#include "clean/item_groups.h"

namespace cv {

template <const auto& Table, std::size_t Row, auto Runner>
void RowAction(RunContext& run) {
  Runner(run, Table[Row]);
}

template <const auto& Table, auto Runner, std::size_t... Rows>
constexpr auto BindRows(std::index_sequence<Rows...>) {
  return std::array<ItemBinding, sizeof...(Rows)>{ItemBinding{Table[Rows].number, RowAction<Table, Rows, Runner>}...};
}

// Table: a constexpr array of rows with an `int number`; Runner: void (*)(RunContext&, const Row&).
template <const auto& Table, auto Runner>
constexpr auto BindTable() {
  return BindRows<Table, Runner>(std::make_index_sequence<std::size(Table)>{});
}

}  // namespace cv
