#include "host/edit_command.h"

#include <cerrno>
#include <cstring>

#include "host/component_editor.h"
#include "host/page_parser.h"
#include "host/web_publisher.h"
#include "platform/replacing_file.h"
#include "platform/whole_file.h"

namespace zv::host {

int editComponent(const std::string& pagePath, int componentNumber, EditBotBinding& editBot,
                  std::ostream& report) {
  std::string page;
  std::string why;
  if (!readWholeFile(pagePath, page, why)) {
    report << "webhost: cannot read " << pagePath << ": " << why << "\n";
    return kStatusFailed;
  }
  const ParsedPage parsed = parsePage(page);
  if (parsed.error) {
    const TextPosition at = positionOf(page, parsed.error->offset);
    report << "webhost: " << pagePath << ":" << at.line << ":" << at.column << ": "
           << parsed.error->message << "\n";
    return kStatusFailed;
  }
  if (componentNumber < 1 || static_cast<std::size_t>(componentNumber) > parsed.components.size()) {
    report << "webhost: " << pagePath << " has " << parsed.components.size()
           << " ZvTavelwork component(s); there is no component " << componentNumber << "\n";
    return kStatusBadUsage;
  }

  const ZvTavelworkEditFn edit = editBot.edit(why);
  if (!edit) {
    report << "webhost: " << why << "\n";
    return kStatusFailed;
  }
  ComponentEditor editor(page, parsed.components[static_cast<std::size_t>(componentNumber - 1)]);
  const int32_t result = edit(editor.attributeHandle(), editor.callbacks());
  if (result != 1) {
    report << "webhost: nothing changed in " << pagePath << "\n";
    return kStatusOk;
  }
  if (!editor.changed()) {
    report << "webhost: the component's attributes are unchanged; " << pagePath << " is left as it was\n";
    return kStatusOk;
  }
  ReplacingFile out;
  const std::string edited = editor.editedPage();
  if (!out.open(pagePath) ||
      std::fwrite(edited.data(), 1, edited.size(), out.stream()) != edited.size() || !out.commit()) {
    report << "webhost: cannot write " << pagePath << ": " << std::strerror(errno) << "\n";
    return kStatusFailed;
  }
  report << "webhost: component " << componentNumber << " of " << pagePath << " changed\n";
  return kStatusOk;
}

}  // namespace zv::host
