// The component library as webhost loads it: libZvEditBot.so, looked for
// the way Module::load looks (beside webhost, then in the installation's
// private library folder, then in the loader's normal search order); its
// Expand and Edit entries bound by name.
#ifndef ZV_HOST_EDITBOT_BINDING_H
#define ZV_HOST_EDITBOT_BINDING_H

#include <string>

#include "platform/module.h"
#include <zv/webbot_host.h>

namespace zv::host {

class EditBotBinding {
 public:
  // The Expand entry; the library is loaded on the first call and stays
  // loaded for the life of this object. Null, with the reason in `why`, when
  // the library or its entry cannot be found (and on every later call).
  ZvTavelworkExpandFn expand(std::string& why);
  // The Edit entry, the same way.
  ZvTavelworkEditFn edit(std::string& why);

 private:
  bool load(std::string& why);

  bool tried_ = false;
  Module module_;
  std::string error_;
};

}  // namespace zv::host

#endif  // ZV_HOST_EDITBOT_BINDING_H
