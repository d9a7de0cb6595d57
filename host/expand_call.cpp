#include "host/expand_call.h"

#include <new>

#include "platform/ascii_case.h"

namespace zv::host {

namespace {

// What the attribute handle points at.
struct AttributeHandle {
  PageComponent* component;
  std::string answer;  // the text of the last GetAttribute answer
  bool* changed;
  bool* outOfMemory;
};

struct OutputHandle {
  std::string* text;
  bool* outOfMemory;
};

// The callbacks are called from C code: no exception may leave them.
void appendOutput(void* outputHandle, const char* text) {
  auto* output = static_cast<OutputHandle*>(outputHandle);
  if (!output || !text) return;
  try {
    output->text->append(text);
  } catch (const std::bad_alloc&) {
    *output->outOfMemory = true;
  }
}

const char* getAttribute(void* attributeHandle, const char* key) {
  auto* handle = static_cast<AttributeHandle*>(attributeHandle);
  if (!handle || !key) return nullptr;
  const ComponentAttribute* attribute = handle->component->find(key);
  if (!attribute) return nullptr;
  try {
    handle->answer = attribute->value;
  } catch (const std::bad_alloc&) {
    *handle->outOfMemory = true;
    return nullptr;
  }
  return handle->answer.c_str();
}

void setAttribute(void* attributeHandle, const char* key, const char* value) {
  auto* handle = static_cast<AttributeHandle*>(attributeHandle);
  if (!handle || !key || !value) return;
  try {
    PageComponent& component = *handle->component;
    bool replaced = false;
    for (ComponentAttribute& attribute : component.attributes) {
      if (equalsIgnoringCase(attribute.name, key)) {
        attribute.value = value;
        replaced = true;
        break;
      }
    }
    if (!replaced) component.attributes.push_back({key, value, component.startBegin});
    *handle->changed = true;
  } catch (const std::bad_alloc&) {
    *handle->outOfMemory = true;
  }
}

}  // namespace

ExpandResult callExpand(ZvTavelworkExpandFn expand, PageComponent& component) {
  ExpandResult result;
  OutputHandle output{&result.output, &result.outOfMemory};
  AttributeHandle attributes{&component, {}, &result.attributesChanged, &result.outOfMemory};
  ZvHostCallbacks table{};
  table.AppendOutput = appendOutput;
  table.GetAttribute = getAttribute;
  table.SetAttribute = setAttribute;
  expand(&output, &attributes, nullptr, nullptr, &table);
  return result;
}

}  // namespace zv::host
