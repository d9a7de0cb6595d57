// The five frames of the record page's animation (pictures 147 to 151): a
// microphone with zero to four sound waves beside it, drawn once when the
// page is made.
#ifndef ZV_WIZARD_RECORD_RECORDING_ANIMATION_H
#define ZV_WIZARD_RECORD_RECORDING_ANIMATION_H

#include <QPixmap>

#include <array>

namespace zv {

inline constexpr int kFirstAnimationFrameId = 147;
inline constexpr int kAnimationFrameCount = 5;

std::array<QPixmap, kAnimationFrameCount> drawRecordingAnimation(int sizePixels);

// The icons of the Play, Record and Stop buttons (132, 133, 134).
QIcon playIcon();
QIcon recordIcon();
QIcon stopIcon();

}  // namespace zv

#endif  // ZV_WIZARD_RECORD_RECORDING_ANIMATION_H
