#include "wizard/output_name_rule.h"

#include <QList>

#include "wizard/wizard_strings.h"

namespace zv {

bool isClipNameCharacter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '(' ||
         c == ')' || c == '-' || c == '_';
}

std::string clipNameProblem(const QString& name) {
  if (name.isEmpty()) return wizardMessage(kIdsNameEmpty);
  for (const char32_t c : name.toUcs4()) {
    if (isClipNameCharacter(c)) continue;
    if (c == U' ') return wizardMessage(kIdsNameHasSpace);
    return wizardMessage(kIdsNameBadCharacter, QString::fromUcs4(&c, 1).toStdString());
  }
  return {};
}

QString clipNameFromSourcePath(const std::string& sourcePath) {
  const std::size_t slash = sourcePath.find_last_of('/');
  std::string base = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
  const std::size_t dot = base.find_last_of('.');
  if (dot != std::string::npos) base.erase(dot);
  QString name;
  for (const char32_t c : QString::fromStdString(base).toUcs4())
    if (isClipNameCharacter(c)) name += QChar(static_cast<char16_t>(c));
  return name;
}

}  // namespace zv
