// The element-set importer's ParseTwoLineSets on arbitrary bytes, and what the import
// does with every set it returns; format detection on the same bytes.
#include "fuzz_common.h"
#include "fuzz_import_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  velmfuzz::UseParsedSets(quenta::ParseTwoLineSets(bytes));
  (void)quenta::DetectFormat(bytes);
  // The operator's catalogue-number argument and an OMM epoch text, on the same bytes.
  (void)quenta::ParseCatalogArgument(bytes);
  int year = 0;
  double day = 0;
  (void)quenta::ParseOmmEpoch(bytes, &year, &day);
  return 0;
}

