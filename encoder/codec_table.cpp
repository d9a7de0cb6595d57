#include "encoder/codec_table.h"

namespace zv {

std::size_t codecTableRowCount(CodecTable table) {
  std::size_t rows = 0;
  while (rows < table.size() && table[rows].libraryFile && table[rows].libraryFile[0] != '\0')
    ++rows;
  return rows;
}

const CodecTableEntry* codecTableRow(CodecTable table, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= codecTableRowCount(table)) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

}  // namespace zv
