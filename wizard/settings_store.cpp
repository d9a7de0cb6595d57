#include "wizard/settings_store.h"

#include <cstdio>

#include <QSettings>
#include <QString>
#include <QVariant>

#include "webbot/markup/applet_defaults.h"

namespace zv {

namespace {

QString key(std::string_view section, std::string_view entry) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
         QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

std::string numberedEntry(int index, const char* kind) {
  char entry[64];
  std::snprintf(entry, sizeof entry, "Optional Applet Attribute %02d %s", index, kind);
  return entry;
}

}  // namespace

std::string optionalAttributeNameEntry(int index) { return numberedEntry(index, "Name"); }
std::string optionalAttributeValueEntry(int index) { return numberedEntry(index, "Value"); }

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromUtf8(settings_names::kOrganisation),
                                            QString::fromUtf8(settings_names::kApplication))) {}

SettingsStore::SettingsStore(const std::string& filePath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(filePath),
                                            QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

int SettingsStore::readInteger(std::string_view section, std::string_view entry,
                               int fallback) const {
  const QVariant value = settings_->value(key(section, entry));
  if (!value.isValid()) return fallback;
  bool isInteger = false;
  const int number = value.toInt(&isInteger);
  return isInteger ? number : fallback;
}

std::string SettingsStore::readText(std::string_view section, std::string_view entry,
                                    std::string_view fallback) const {
  const QVariant value = settings_->value(key(section, entry));
  if (!value.isValid()) return std::string(fallback);
  // QSettings writes a text with commas quoted, but reads an unquoted one
  // (a file edited by hand) as a list of texts: join it back.
  if (value.metaType().id() == QMetaType::QStringList)
    return value.toStringList().join(QStringLiteral(", ")).toStdString();
  return value.toString().toStdString();
}

void SettingsStore::writeInteger(std::string_view section, std::string_view entry, int value) {
  settings_->setValue(key(section, entry), value);
}

void SettingsStore::writeText(std::string_view section, std::string_view entry,
                              std::string_view value) {
  settings_->setValue(key(section, entry),
                      QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void SettingsStore::sync() { settings_->sync(); }

StoredAppletAttributes readAppletAttributes(const SettingsStore& store) {
  using namespace settings_names;
  namespace defaults = applet_defaults;
  StoredAppletAttributes stored;

  RequiredAppletAttributes& required = stored.required;
  required.calculateWidth =
      store.readInteger(kRequiredSection, kCalculateWidth, defaults::kCalculateWidth ? 1 : 0) != 0;
  required.width = store.readInteger(kRequiredSection, kAppletWidth, defaults::kWidth);
  required.height = store.readInteger(kRequiredSection, kAppletHeight, defaults::kHeight);
  required.className = store.readText(kRequiredSection, kAppletClassName, defaults::kClassName);
  required.codebase = store.readText(kRequiredSection, kAppletClassCodebase, defaults::kCodebase);
  required.tag = store.readText(kRequiredSection, kAppletTag, defaults::kTag);
  required.alignment = store.readText(kRequiredSection, kAppletAlignment, defaults::kAlignment);

  OptionalAppletAttributes& optional = stored.optional;
  optional.bodyText = store.readText(kOptionalSection, kAppletBodyText, defaults::kBodyText);
  const int count = store.readInteger(kOptionalSection, kAttributeCount, -1);
  if (count == -1) {
    optional.attributes[defaults::kAltName] = defaults::kAltValue;
    return stored;
  }
  for (int index = 0; index < count && index < kMaxStoredAttributes; ++index) {
    const std::string nameEntry = optionalAttributeNameEntry(index);
    const std::string valueEntry = optionalAttributeValueEntry(index);
    std::string name = store.readText(kOptionalSection, nameEntry, nameEntry);
    optional.attributes[std::move(name)] = store.readText(kOptionalSection, valueEntry, valueEntry);
  }
  return stored;
}

void writeRequiredAppletAttributes(SettingsStore& store, const RequiredAppletAttributes& values) {
  using namespace settings_names;
  store.writeInteger(kRequiredSection, kCalculateWidth, values.calculateWidth ? 1 : 0);
  store.writeInteger(kRequiredSection, kAppletWidth, values.width);
  store.writeInteger(kRequiredSection, kAppletHeight, values.height);
  store.writeText(kRequiredSection, kAppletClassName, values.className);
  store.writeText(kRequiredSection, kAppletClassCodebase, values.codebase);
  store.writeText(kRequiredSection, kAppletTag, values.tag);
  store.writeText(kRequiredSection, kAppletAlignment, values.alignment);
}

void writeOptionalAppletAttributes(SettingsStore& store, const OptionalAppletAttributes& values) {
  using namespace settings_names;
  store.writeText(kOptionalSection, kAppletBodyText, values.bodyText);
  int index = 0;
  for (const auto& [name, value] : values.attributes) {
    store.writeText(kOptionalSection, optionalAttributeNameEntry(index), name);
    store.writeText(kOptionalSection, optionalAttributeValueEntry(index), value);
    ++index;
  }
  store.writeInteger(kOptionalSection, kAttributeCount, index);
}

}  // namespace zv
