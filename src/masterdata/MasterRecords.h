#pragma once

class DataSet;
struct MasterTable;

// Row commands of the master lists on their shared datasets.
namespace MasterRecords {
// The list dataset editors save through: left as it is when open, else an empty selection of
// the table (so a new row can be saved while the list window is closed).
void EnsureOpen(DataSet& list, const MasterTable& table);
// Asks "确认删除此条记录?" and deletes the current row on Yes. An empty or closed list asks
// nothing and deletes nothing. True when a row was deleted.
bool DeleteCurrent(DataSet& list);
} // namespace MasterRecords
