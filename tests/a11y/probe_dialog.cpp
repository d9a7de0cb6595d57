// a11y_probe_dialog: a small Qt dialog on which the accessibility harness
// proves itself. It has one control of each kind the wizard uses, each with a
// label and an accessible name; on OK it prints what was entered, one
// "key=value" line each, so the harness test can check that every operation
// reached the program. A status label ("Quiet" or "Loud") follows the check
// box, so a label whose text changes is read as well. Cancel ends with status 1.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

#include "widgets/caption_mnemonic.h"

namespace {

// A field with a label in front; the label is its buddy (the mnemonic) and
// its text the field's accessible name.
template <typename Field>
Field* labelled(QFormLayout& form, const QString& text, Field* field) {
  auto* label = new QLabel(text);
  label->setBuddy(field);
  field->setAccessibleName(zv::captionText(text));
  form.addRow(label, field);
  return field;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("a11y_probe_dialog"));

  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Harness Probe"));
  auto* form = new QFormLayout;
  auto* name = labelled(*form, QStringLiteral("&Name"), new QLineEdit);
  auto* colour = labelled(*form, QStringLiteral("&Colour"), new QComboBox);
  colour->addItems({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")});
  auto* size = labelled(*form, QStringLiteral("&Size"), new QListWidget);
  size->addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
  size->setCurrentRow(0);

  auto* loud = new QCheckBox(QStringLiteral("&Loud"));
  loud->setAccessibleName(QStringLiteral("Loud"));
  auto* status = new QLabel(QStringLiteral("Quiet"));
  auto* once = new QRadioButton(QStringLiteral("Play &once"));
  once->setAccessibleName(QStringLiteral("Play once"));
  once->setChecked(true);
  auto* repeat = new QRadioButton(QStringLiteral("&Repeat"));
  repeat->setAccessibleName(QStringLiteral("Repeat"));
  // Reacts to toggled, not clicked: an assistive tool's toggle action
  // changes the state without a click.
  QObject::connect(loud, &QCheckBox::toggled, status, [status](bool on) {
    status->setText(on ? QStringLiteral("Loud") : QStringLiteral("Quiet"));
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(loud);
  layout->addWidget(status);
  layout->addWidget(once);
  layout->addWidget(repeat);
  layout->addWidget(buttons);

  if (dialog.exec() != QDialog::Accepted) return 1;
  // The selection, not the current item: an assistive tool selects an item
  // without moving the keyboard's current item.
  const QList<QListWidgetItem*> chosen = size->selectedItems();
  const QListWidgetItem* chosenSize = chosen.isEmpty() ? nullptr : chosen.front();
  std::printf("name=%s\ncolour=%s\nsize=%s\nloud=%d\nrepeat=%d\n", qPrintable(name->text()),
              qPrintable(colour->currentText()), chosenSize ? qPrintable(chosenSize->text()) : "",
              loud->isChecked() ? 1 : 0, repeat->isChecked() ? 1 : 0);
  return 0;
}
