// CPageWaveCompression, "Compression Algorithms": the choice of codec, and on
// Next the compression of PcmWorkFile into the stream file under
// CCompressProgressDialog.
//
// The list shows the codec table's rows in order with their display names;
// the read-only edit below it describes the selected row. A row whose codec
// library cannot be loaded (probed once, when the page is made) is shown with
// a note that it is not installed and cannot be chosen; the first row that
// can be chosen is selected at the start.
//
// Compression runs only when the last one no longer fits (the stale flag in
// WizardState): a new codec choice sets it here, the input and record pages
// set it for new sound. Next with the flag clear moves on at once. A
// compression counts only when its job completed: cancelled, it keeps the
// page; failed, the user is told why and the page stays. Either way the flag
// stays set and the sizes of an earlier compression are kept as they were.
#ifndef ZV_WIZARD_WAVE_COMPRESSION_PAGE_H
#define ZV_WIZARD_WAVE_COMPRESSION_PAGE_H

#include <QWizardPage>

#include <functional>
#include <utility>
#include <vector>

#include "encoder/codec_table.h"
#include "wizard/wizard_state.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace zv {

class CCompressProgressDialog;

class CPageWaveCompression : public QWizardPage {
  Q_OBJECT

 public:
  // `codecs` is the table the list shows and the jobs load from (the built-in
  // one unless a test supplies its own).
  CPageWaveCompression(WizardState& state, WizardServices& services, QWidget* parent = nullptr,
                       CodecTable codecs = kCodecTable);

  // Creates the stream file the first time the page is shown.
  void initializePage() override;
  // Compresses when stale; false keeps the page on screen.
  bool validatePage() override;
  // The output page follows.
  int nextId() const override;

  // Whether the codec library of `row` could be loaded when the page was made.
  bool codecAvailable(int row) const;

  // Called with each progress dialog after it is made and before it runs, so
  // that a caller (a test) can watch or answer it.
  void setProgressDialogHook(std::function<void(CCompressProgressDialog&)> hook) {
    progress_dialog_hook_ = std::move(hook);
  }

 private:
  void onCodecRowChanged(int row);
  bool ensureStreamFile();
  std::string streamFolder() const;

  WizardState& state_;
  WizardServices& services_;
  const CodecTable codecs_;
  std::vector<bool> available_;
  QLabel* intro_ = nullptr;
  QListWidget* list_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  std::function<void(CCompressProgressDialog&)> progress_dialog_hook_;
};

}  // namespace zv

#endif  // ZV_WIZARD_WAVE_COMPRESSION_PAGE_H
