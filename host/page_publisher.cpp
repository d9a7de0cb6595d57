#include "host/page_publisher.h"

#include "host/element_values.h"
#include "host/expand_call.h"
#include "host/page_parser.h"
#include "player/player_files.h"
#include "webbot/attribute_encoding.h"
#include "webbot/component_attributes.h"

namespace zv::host {

namespace {

std::string startComment(const PageComponent& component) {
  std::string text = "<!--WEBBOT bot=\"";
  text += webbot::kBotName;
  text += "\" StartSpan";
  for (const ComponentAttribute& attribute : component.attributes) {
    text += ' ' + attribute.name + "=\"" + webbot::encodeAttributeValue(attribute.value) + '"';
  }
  text += " -->";
  return text;
}

std::string missingKeys(const PageComponent& component) {
  std::string missing;
  for (const char* key : webbot::kExpandKeys) {
    if (!component.find(key)) missing += (missing.empty() ? "" : ", ") + std::string(key);
  }
  return missing;
}

// The player script's element, on a line of its own after `output` (the
// component's markup), loading the script from the component's class folder.
std::string playerScriptLine(const PageComponent& component, const std::string& output) {
  const ComponentAttribute* codebase = component.find("S-CODEBASE");
  std::string line = output.back() == '\n' ? "" : "\n";
  line += player::playerScriptElement(player::playerScriptUrl(codebase ? codebase->value : ""));
  return line + '\n';
}

}  // namespace

PublishedPage publishPage(std::string_view page, const ExpandSource& expandSource) {
  PublishedPage published;
  ParsedPage parsed = parsePage(page);
  if (parsed.error) {
    published.diagnostics.push_back({true, parsed.error->offset, parsed.error->message});
    return published;
  }
  for (const PageComponent& component : parsed.components) {
    if (std::optional<PageError> problem = checkElementValues(component)) {
      published.diagnostics.push_back({true, problem->offset, problem->message});
      return published;
    }
  }

  ZvTavelworkExpandFn expand = nullptr;
  if (!parsed.components.empty()) {
    std::string why;
    expand = expandSource(why);
    if (!expand) {
      published.diagnostics.push_back(
          {true, parsed.components.front().startBegin,
           "cannot expand ZvTavelwork components: " + why});
      return published;
    }
  }

  std::string text;
  text.reserve(page.size());
  std::size_t copied = 0;
  bool playerScriptAdded = false;
  for (PageComponent& component : parsed.components) {
    ExpandResult expanded = callExpand(expand, component);
    if (expanded.outOfMemory) {
      published.diagnostics.push_back(
          {true, component.startBegin, "out of memory while expanding this component"});
      return published;
    }
    if (expanded.output.empty()) {
      const std::string missing = missingKeys(component);
      published.diagnostics.push_back(
          {false, component.startBegin,
           missing.empty() ? "this ZvTavelwork component expanded to nothing"
                           : "this ZvTavelwork component was not expanded: it has no " + missing});
    }
    text.append(page, copied, component.startBegin - copied);
    if (expanded.attributesChanged) {
      text += startComment(component);
    } else {
      text.append(page, component.startBegin, component.startEnd - component.startBegin);
    }
    text += expanded.output;
    if (!playerScriptAdded && !expanded.output.empty()) {
      text += playerScriptLine(component, expanded.output);
      playerScriptAdded = true;
    }
    copied = component.endBegin;
  }
  text.append(page, copied);
  published.text = std::move(text);
  published.ok = true;
  return published;
}

}  // namespace zv::host
