# The page publisher of webhost, with the component's Expand code linked in.
zv_fuzz_target(webhost_publish_fuzzer ${CMAKE_CURRENT_LIST_DIR}/webhost_publish_fuzzer.cpp)
target_link_libraries(webhost_publish_fuzzer PRIVATE zv_webhost_core zv_webbot_expand)
# The component attributes the Edit entry reads from a page, written back and
# made into markup.
zv_fuzz_target(component_attributes_fuzzer ${CMAKE_CURRENT_LIST_DIR}/component_attributes_fuzzer.cpp)
target_link_libraries(component_attributes_fuzzer PRIVATE zv_webhost_core zv_webbot_edit)
# webhost preview's requests: head, Host, path, Range, and the site's answer.
zv_fuzz_target(preview_request_fuzzer ${CMAKE_CURRENT_LIST_DIR}/preview_request_fuzzer.cpp)
target_link_libraries(preview_request_fuzzer PRIVATE zv_webhost_preview)
# The automation calls' arguments as webhost serve answers them.
zv_fuzz_target(automation_arguments_fuzzer ${CMAKE_CURRENT_LIST_DIR}/automation_arguments_fuzzer.cpp)
target_link_libraries(automation_arguments_fuzzer PRIVATE zv_webhost_serve)
