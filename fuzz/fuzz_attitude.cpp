// The attitude data file on arbitrary text: records up to each table's
// capacity, the surplus notice, conversion errors for fields that are not
// numbers (records before them kept).
#include "fuzz_common.h"
#include "gimbra/core/attitudedata.h"
#include "navlib/textnum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static gimbra::AttitudeData table;
  std::string notice;
  try {
    gimbra::ReadAttitudeText(velmfuzz::Text(data, size), 0.5f, -0.5f, table, &notice);
  } catch (const navlib::ConvertError&) {
  }
  if (table.SunSensorRecords.Count > 100 || table.CameraEarthRecords.Count > 50 ||
      table.EarthArcRecords.Count > 100)
    __builtin_trap();
  return 0;
}
