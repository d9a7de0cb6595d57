// A test host's component for the Edit entry: its attributes, handed out
// through GetAttribute, and every SetAttribute call recorded in order.
#ifndef ZV_TESTS_WEBBOT_EDIT_RECORDING_COMPONENT_H
#define ZV_TESTS_WEBBOT_EDIT_RECORDING_COMPONENT_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <zv/webbot_host.h>

namespace zv::test {

struct RecordingComponent {
  std::map<std::string, std::string> attributes;
  std::vector<std::pair<std::string, std::string>> written;
  ZvHostCallbacks callbacks{};

  RecordingComponent() {
    callbacks.GetAttribute = [](void* handle, const char* key) -> const char* {
      auto& self = *static_cast<RecordingComponent*>(handle);
      const auto found = self.attributes.find(key);
      return found == self.attributes.end() ? nullptr : found->second.c_str();
    };
    callbacks.SetAttribute = [](void* handle, const char* key, const char* value) {
      static_cast<RecordingComponent*>(handle)->written.emplace_back(key, value);
    };
  }

  // The last value written for `key`.
  std::string writtenValue(const std::string& key) const {
    for (auto it = written.rbegin(); it != written.rend(); ++it)
      if (it->first == key) return it->second;
    return "(not written)";
  }
};

// A component as the insertion program writes it: three buttons, 32 x 96,
// the body and attribute texts in the component's encoding.
inline RecordingComponent insertedComponent() {
  RecordingComponent component;
  component.attributes = {
      {"I-NUMBUTTONS", "3"}, {"I-AUTOPLAY", "0"}, {"I-VISIBLE", "1"}, {"I-COUNT", "1"},
      {"I-HEIGHT", "32"}, {"I-WIDTH", "96"}, {"S-CLASS", "ZvStreamPlayer.class"},
      {"S-CODEBASE", "/Java/ZvTavelwork"}, {"S-APPLETTAG", "APPLET"}, {"S-ALIGN", "middle"},
      {"S-BODY", "Say &quot;hi&quot; &amp; go"},
      {"S-ATTRIBS", "ALT=&quot;Java is not available&quot; HSPACE=4"}, {"S-CLIP", "hello.zvsa"},
  };
  return component;
}

}  // namespace zv::test

#endif  // ZV_TESTS_WEBBOT_EDIT_RECORDING_COMPONENT_H
