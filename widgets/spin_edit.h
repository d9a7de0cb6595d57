// An edit box with its spin buttons: the text stays exactly what the author
// typed (so that a dialog can refuse it with a message), while the arrows,
// and the Up and Down keys in the edit, step the number within a range.
//
// Unlike QSpinBox, nothing is corrected behind the author's back: an empty
// field, "0" or "40000" stay in the field until the dialog reads it. The
// buttons take no focus; the keys do the same job from the keyboard.
#ifndef ZV_WIDGETS_SPIN_EDIT_H
#define ZV_WIDGETS_SPIN_EDIT_H

#include <QLineEdit>

class QToolButton;

namespace zv {

class SpinEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit SpinEdit(QWidget* parent = nullptr);

  // The range the buttons step within (default 0..100).
  void setRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }

  // Steps the number by `steps`: the text's leading integer (the range's
  // minimum when the text holds none) plus `steps`, kept within the range,
  // written back in decimal.
  void stepBy(int steps);

  // The two arrow buttons, for tests and for accessibility names.
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  // After stepBy() has written a new value (the spin control's change
  // notice).
  void stepped(int value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void placeButtons();

  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
};

}  // namespace zv

#endif  // ZV_WIDGETS_SPIN_EDIT_H
