#include "test_host.h"

#include <string.h>

static int find(const TestHostAttributes *attributes, const char *key) {
  for (int i = 0; i < attributes->count; ++i)
    if (strcmp(attributes->keys[i], key) == 0) return i;
  return -1;
}

void test_host_set(TestHostAttributes *attributes, const char *key, const char *value) {
  int i = find(attributes, key);
  if (i < 0) {
    if (attributes->count == TEST_HOST_MAX_ATTRIBUTES) return;
    i = attributes->count++;
    attributes->keys[i] = key;
  }
  attributes->values[i] = value;
}

void test_host_remove(TestHostAttributes *attributes, const char *key) {
  int i = find(attributes, key);
  if (i < 0) return;
  for (; i + 1 < attributes->count; ++i) {
    attributes->keys[i] = attributes->keys[i + 1];
    attributes->values[i] = attributes->values[i + 1];
  }
  --attributes->count;
}

static void append_output(void *outputHandle, const char *text) {
  TestHostOutput *output = (TestHostOutput *)outputHandle;
  size_t length = strlen(text);
  ++output->appendCalls;
  if (output->length + length >= sizeof output->text) {
    output->overflow = 1;
    return;
  }
  memcpy(output->text + output->length, text, length + 1);
  output->length += length;
}

static const char *get_attribute(void *attributeHandle, const char *key) {
  TestHostAttributes *attributes = (TestHostAttributes *)attributeHandle;
  if (attributes->askedCount < TEST_HOST_MAX_ATTRIBUTES) {
    char *slot = attributes->asked[attributes->askedCount++];
    strncpy(slot, key, TEST_HOST_MAX_KEY - 1);
    slot[TEST_HOST_MAX_KEY - 1] = '\0';
  }
  int i = find(attributes, key);
  return i < 0 ? NULL : attributes->values[i];
}

static void set_attribute(void *attributeHandle, const char *key, const char *value) {
  TestHostAttributes *attributes = (TestHostAttributes *)attributeHandle;
  (void)key;
  (void)value;
  ++attributes->setCalls;
}

ZvHostCallbacks test_host_callbacks(void) {
  ZvHostCallbacks table;
  memset(&table, 0, sizeof table);
  table.AppendOutput = append_output;
  table.GetAttribute = get_attribute;
  table.SetAttribute = set_attribute;
  return table;
}
