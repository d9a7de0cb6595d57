/* A test host for the web component's entries, written in C to show that the
 * host interface is plain C: a fixed attribute list, a fixed output buffer
 * (no heap use, so that allocation-failure tests count only the library's
 * memory requests), and a log of the keys asked for. */
#ifndef ZV_TESTS_WEBBOT_TEST_HOST_H
#define ZV_TESTS_WEBBOT_TEST_HOST_H

#include <stddef.h>

#include <zv/webbot_host.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { TEST_HOST_MAX_ATTRIBUTES = 32, TEST_HOST_MAX_KEY = 32, TEST_HOST_OUTPUT_BYTES = 65536 };

typedef struct TestHostAttributes {
  int count;
  const char *keys[TEST_HOST_MAX_ATTRIBUTES];
  const char *values[TEST_HOST_MAX_ATTRIBUTES];
  /* Every key asked for, in order. */
  int askedCount;
  char asked[TEST_HOST_MAX_ATTRIBUTES][TEST_HOST_MAX_KEY];
  /* Calls of SetAttribute (Expand must make none). */
  int setCalls;
} TestHostAttributes;

typedef struct TestHostOutput {
  int appendCalls;
  int overflow; /* set when the text did not fit */
  size_t length;
  char text[TEST_HOST_OUTPUT_BYTES];
} TestHostOutput;

/* Adds or replaces an attribute; the strings must outlive the host. */
void test_host_set(TestHostAttributes *attributes, const char *key, const char *value);
/* Removes an attribute if present. */
void test_host_remove(TestHostAttributes *attributes, const char *key);
/* A callback table with AppendOutput, GetAttribute and SetAttribute in their
 * slots and every other slot NULL. */
ZvHostCallbacks test_host_callbacks(void);

#ifdef __cplusplus
}
#endif

#endif /* ZV_TESTS_WEBBOT_TEST_HOST_H */
