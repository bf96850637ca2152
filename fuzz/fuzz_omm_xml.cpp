// The element-set importer's ParseOmmXml on arbitrary bytes, and what the import
// does with every set it returns; format detection on the same bytes.
#include "fuzz_common.h"
#include "fuzz_import_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  velmfuzz::UseParsedSets(quenta::ParseOmmXml(bytes));
  (void)quenta::DetectFormat(bytes);
  return 0;
}
