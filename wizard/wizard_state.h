// What the wizard's pages share.
//
// The sheet owns one WizardState and one WizardServices and hands both to
// every page. Each value has one owner page that writes it; the other pages
// only read it (or, for the two stale flags, set it):
//
//   value                      owner                 read or set by
//   inputChoice                input page            compression (Back), output
//                                                    (default name), finish
//   galleryClipName            input page            output, finish
//   sourcePath                 input page            output (default name)
//   codecIndex, streamPath     compression page      output (decode), finish
//   compressionStale           compression page      set by input and record pages
//   pcmBytes, codedBytes,      compression page      output (ratio, chart)
//   hasCompression
//   outputName, addToGallery   output page           finish
//   decompressionStale         output page           set by compression page
#ifndef ZV_WIZARD_WIZARD_STATE_H
#define ZV_WIZARD_WIZARD_STATE_H

#include <cstdint>
#include <string>

#include "wizard/gallery_folders.h"

namespace zv {

class EngineWorkspace;
class MessagePresenter;

// The pages' dialog identifiers: what a page returns from nextId() to go to
// another page.
enum WizardPageId : int {
  kPageWaveInput = 103,
  kPageWaveRecord = 108,
  kPageWaveCompression = 104,
  kPageWaveOutput = 109,
  kPageAppletProperties = 106,
};

// Where the sound comes from (the input page's radio buttons, in order).
enum InputChoice : int {
  kInputGalleryClip = 0,
  kInputVoiceRecording = 1,
  kInputSourceFile = 2,
};

struct WizardState {
  // Input page.
  int inputChoice = kInputGalleryClip;
  std::string galleryClipName;  // file name without folder and ".zvsa"
  std::string sourcePath;       // as typed or browsed

  // Compression page.
  int codecIndex = 0;                  // row of the codec table
  std::string streamPath;              // the stream file the encode job writes
  bool compressionStale = true;        // the last compression no longer fits
  bool hasCompression = false;         // a compression has completed
  std::uint32_t pcmBytes = 0;          // source size of the last completed compression
  std::uint32_t codedBytes = 0;        // compressed size of the last completed compression

  // Output page.
  std::string outputName;              // no folder, no extension
  bool addToGallery = false;
  bool decompressionStale = true;      // DecodedPcmFile no longer fits the stream file
};

// What the pages use besides the shared values: the library's working files
// and format (PcmWorkFile, DecodedPcmFile, AuConvertFile, PcmFormat,
// LastErrorText), the message layer, and the gallery's folders (the
// shipped one and the user's own). All outlive the sheet.
struct WizardServices {
  EngineWorkspace& workspace;
  MessagePresenter& presenter;
  GalleryFolders gallery;
};

}  // namespace zv

#endif  // ZV_WIZARD_WIZARD_STATE_H
