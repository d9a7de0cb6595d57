#include "host/editbot_binding.h"

namespace zv::host {

ZvTavelworkExpandFn EditBotBinding::expand(std::string& why) {
  if (!tried_) {
    tried_ = true;
    module_ = Module::load("libZvEditBot.so");
    if (!module_.loaded()) {
      error_ = "cannot load libZvEditBot.so: " + module_.error();
    } else {
      expand_ = reinterpret_cast<ZvTavelworkExpandFn>(module_.symbol(ZV_TAVELWORK_EXPAND_SYMBOL));
      if (!expand_) error_ = module_.path() + " has no " ZV_TAVELWORK_EXPAND_SYMBOL " entry";
    }
  }
  if (!expand_) why = error_;
  return expand_;
}

}  // namespace zv::host
