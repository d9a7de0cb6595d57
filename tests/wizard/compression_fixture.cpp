#include "tests/wizard/compression_fixture.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "tests/support/audio_fixtures.h"

namespace zv::test {

WizardFixture::WizardFixture() {
  std::string error;
  workspace = EngineWorkspace::create(error);
  if (!workspace) throw std::runtime_error("no workspace: " + error);
  services = std::make_unique<WizardServices>(WizardServices{*workspace, presenter, {}});
}

void WizardFixture::writeTone(std::size_t samples) {
  writeFile(workspace->PcmWorkFile, pcm16(sine16(440.0, 8000, samples)));
}

void saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);
  QDir().mkpath(folder);
  widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

long long fileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<long long>(size);
}

}  // namespace zv::test
