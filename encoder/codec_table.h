// The built-in table of codec libraries. The engine links no codec: a job
// loads the library of its row by file name and binds it by ordinal
// (codec_library.h).
//
// A table is a run of rows ended by a row whose libraryFile is empty. The row
// index is the codec index used everywhere (job context, compression page,
// command line).
#ifndef ZV_ENCODER_CODEC_TABLE_H
#define ZV_ENCODER_CODEC_TABLE_H

#include <cstddef>
#include <span>

namespace zv {

struct CodecTableEntry {
  const char* libraryFile;        // file name as the system names it ("QV80W.DLL")
  unsigned nameStringId;          // short name, engine string table
  unsigned descriptionStringId;   // description, engine string table
  const char* exportPrefix;       // prefix of the export names; documents the library only
};

using CodecTable = std::span<const CodecTableEntry>;

// Row 0: the low-rate speech codec QV48W. Row 1: the speech codec QV80W.
// Row 2: the music codec QV160MXW.
inline constexpr CodecTableEntry kCodecTable[] = {
    {"QV48W.DLL", 20000, 20050, "QV48_"},
    {"QV80W.DLL", 20001, 20051, "QV80_"},
    {"QV160MXW.DLL", 20002, 20052, "QV160MX_"},
    {"", 0, 0, ""},
};

inline constexpr int kLowerCodecIndex = 0;
inline constexpr int kSpeechCodecIndex = 1;
inline constexpr int kMusicCodecIndex = 2;

// Number of rows before the terminating row (or the span's end).
std::size_t codecTableRowCount(CodecTable table);

// The row at `index`, or nullptr when index is negative or not before the
// terminating row.
const CodecTableEntry* codecTableRow(CodecTable table, int index);

}  // namespace zv

#endif  // ZV_ENCODER_CODEC_TABLE_H
