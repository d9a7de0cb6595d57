#include "host/editbot_binding.h"

namespace zv::host {

bool EditBotBinding::load(std::string& why) {
  if (!tried_) {
    tried_ = true;
    module_ = Module::load("libZvEditBot.so");
    if (!module_.loaded()) error_ = "cannot load libZvEditBot.so: " + module_.error();
  }
  if (!module_.loaded()) why = error_;
  return module_.loaded();
}

ZvTavelworkExpandFn EditBotBinding::expand(std::string& why) {
  if (!load(why)) return nullptr;
  auto entry = reinterpret_cast<ZvTavelworkExpandFn>(module_.symbol(ZV_TAVELWORK_EXPAND_SYMBOL));
  if (!entry) why = module_.path() + " has no " ZV_TAVELWORK_EXPAND_SYMBOL " entry";
  return entry;
}

ZvTavelworkEditFn EditBotBinding::edit(std::string& why) {
  if (!load(why)) return nullptr;
  auto entry = reinterpret_cast<ZvTavelworkEditFn>(module_.symbol(ZV_TAVELWORK_EDIT_SYMBOL));
  if (!entry) why = module_.path() + " has no " ZV_TAVELWORK_EDIT_SYMBOL " entry";
  return entry;
}

}  // namespace zv::host
