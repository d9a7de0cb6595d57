// The status window: caption "Status...", a progress bar over 1..10 and a
// text line, shown without blocking while the pass works.
#ifndef ZV_INSERT_QT_STATUS_WINDOW_H
#define ZV_INSERT_QT_STATUS_WINDOW_H

#include <QDialog>

#include "insert/status_display.h"

class QLabel;
class QProgressBar;

namespace zv::insert {

class QtStatusWindow : public QDialog, public StatusDisplay {
  Q_OBJECT

 public:
  explicit QtStatusWindow(QWidget* parent = nullptr);
  void setProgress(int value) override;
  void setText(const std::string& text) override;

  QProgressBar* progressBar() const { return bar_; }
  QLabel* textLine() const { return line_; }

 private:
  // The pass runs without a message loop; let the window paint each change.
  void refresh();

  QProgressBar* bar_;
  QLabel* line_;
};

}  // namespace zv::insert

#endif  // ZV_INSERT_QT_STATUS_WINDOW_H
