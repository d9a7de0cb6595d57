// The quantisers' tables (see tables.h and FRAME_FORMAT.md).
#include "codec/speech48/tables.h"

namespace zv::qv48 {

// Ranges in Hz: 100–700, 200–1100, 400–1600, 650–2000, 900–2400, 1250–2700,
// 1600–3000, 2000–3300, 2400–3600, 2900–3800, cut into 2^bits equal steps
// (the LSF scale is 32768 for 4000 Hz).
const int32_t kLsfLowest[kOrder] = {819, 1638, 3277, 5325, 7373, 10240, 13107, 16384, 19661, 23757};
const int32_t kLsfStep[kOrder] = {307, 461, 614, 691, 768, 1485, 1434, 1331, 1229, 1843};

// 0, 0.2, 0.4, 0.55, 0.7, 0.85, 1.0, 1.15.
const int32_t kPitchGainQ14[8] = {0, 3277, 6554, 9011, 11469, 13926, 16384, 18842};

// In units of log2 (6.02 dB): −3, −1.8, −1, −0.4, 0.2, 0.8, 1.6, 2.8.
const int32_t kCodeGainStepQ10[8] = {-3072, -1843, -1024, -410, 205, 819, 1638, 2867};

}  // namespace zv::qv48
