#include "wizard/about_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/module.h"
#include "widgets/caption_mnemonic.h"
#include "wizard/wizard_icon.h"
#include "wizard/wizard_strings.h"

#ifndef ZV_DOC_FOLDER_FROM_LIBRARY
#define ZV_DOC_FOLDER_FROM_LIBRARY "../share/doc/ZvTavelworks"
#endif
#ifndef ZV_VERSION_TEXT
#define ZV_VERSION_TEXT ""
#endif

namespace zv {

namespace {

QPushButton* makeButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAccessibleName(captionText(text));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

QUrl CAboutDialog::productPage() {
  // The user guide installed with the library; the build tree keeps the
  // same layout. An installation whose library folder is deeper than lib/
  // (lib/<multiarch>) is found by the path computed at configure time.
  const QString libraryFolder = QString::fromStdString(thisModuleFolder());
  for (const char* relative : {ZV_DOC_FOLDER_FROM_LIBRARY, "../share/doc/ZvTavelworks"}) {
    const QFileInfo readme(libraryFolder + QLatin1String(relative) + QStringLiteral("/README.md"));
    if (readme.isFile()) return QUrl::fromLocalFile(readme.canonicalFilePath());
  }
  return {};
}

QUrl CAboutDialog::soundLibraryPage() {
  return QUrl(QStringLiteral("https://sourceforge.net/projects/soxr/"));
}

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromStdString(wizardMessage(kIdsAboutCaption)));
  setWindowIcon(wizardIcon());

  auto* picture = new QLabel(this);
  picture->setPixmap(wizardIconPixmap(64));
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setAccessibleName(QStringLiteral("Z&V Tavelworks"));

  auto* title = new QLabel(this);
  title->setTextFormat(Qt::PlainText);
  title->setText(QStringLiteral("Z&V Tavelworks"));
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
  title->setFont(titleFont);

  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setAccessibleName(QStringLiteral("About Z&V Tavelworks"));
  text_->setTabChangesFocus(true);
  QFont textFont = text_->font();
  textFont.setFamily(QStringLiteral("Arial"));
  text_->setFont(textFont);
  text_->setPlainText(QString::fromStdString(wizardMessage(kIdsAboutText, ZV_VERSION_TEXT)));
  text_->setMinimumSize(380, 150);

  product_ = makeButton(QStringLiteral("User &Guide"), this);
  sound_library_ = makeButton(QStringLiteral("&Resampler Web Page"), this);
  if (productPage().isEmpty()) {
    product_->setEnabled(false);
    product_->setToolTip(QStringLiteral("The user guide is not installed."));
  }
  connect(product_, &QPushButton::clicked, this, [this]() { openPage(productPage()); });
  connect(sound_library_, &QPushButton::clicked, this, [this]() { openPage(soundLibraryPage()); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* header = new QHBoxLayout;
  header->addWidget(picture);
  header->addSpacing(8);
  header->addWidget(title, 1);
  auto* links = new QHBoxLayout;
  links->addWidget(product_);
  links->addWidget(sound_library_);
  links->addStretch(1);
  links->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addWidget(text_, 1);
  layout->addLayout(links);

  setTabOrder(text_, product_);
  setTabOrder(product_, sound_library_);
  setTabOrder(sound_library_, ok);
  ok->setFocus();
}

void CAboutDialog::openPage(const QUrl& url) {
  if (url.isEmpty()) return;
  if (open_url_) {
    open_url_(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

}  // namespace zv
