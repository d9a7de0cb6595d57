# The page publisher of webhost, with the component's Expand code linked in.
zv_fuzz_target(webhost_publish_fuzzer ${CMAKE_CURRENT_LIST_DIR}/webhost_publish_fuzzer.cpp)
target_link_libraries(webhost_publish_fuzzer PRIVATE zv_webhost_core zv_webbot_expand)
