// The attitude data file: the operator's measurements of the spinning
// spacecraft (sun-sensor readings, Earth-sensor crossings, squint angles,
// camera pictures of the Earth and the Moon, Earth arcs), read into fixed
// tables at every Draw, and the four colours the file may choose.
//
// A line-oriented text file; each line one item, keyword first:
//   REM ...                      comment
//   SS year, day, ma             sun-sensor reading
//   ES orbit, maLower, maUpper, limb      Earth-sensor crossings by MA
//   EM first, timeLower, timeUpper, limb  Earth-sensor crossings by time of day
//   SQ lat, lon, year, day, hour, minute, squint   squint seen by a ground station
//   CM year, day, hour, minute, second, angle[, remark]   camera picture of the Earth
//   CL year, day, hour, minute, second, angle[, remark]   camera picture of the Moon
//   EA orbit, ma, arc1, arc2, edge         Earth arc
//   COLOR_EA name, name / COLOR_CM name / COLOR_CL name
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/canvas.h"

namespace gimbra {

struct SunSensorRecord {     // SS
  float Year = 0;            // calendar year (truncated where used)
  float DayOfYear = 0;       // day of the year with fraction, 1.0 = 1 January 0 h UTC
  float SensorMa = 0;        // sun-sensor reading, 256ths of a turn
};

struct EarthSensorRecord {   // ES
  float Orbit = 0;           // orbit number (truncated where used)
  float MaLower = 0;         // 256ths of a revolution; 0 = no lower crossing
  float MaUpper = 0;         // 256ths of a revolution; 0 = no upper crossing
  float LimbFactor = 0;      // +1 or -1: horizon in or out
};

struct EarthMaRecord {       // EM
  float FirstValue = 0;      // stored; no layer reads it
  float TimeLower = 0;       // fraction of the day; 0 = no lower crossing
  float TimeUpper = 0;       // fraction of the day; 0 = no upper crossing
  float LimbFactor = 0;
};

struct SquintRecord {        // SQ
  float StationLat = 0;      // deg north
  float StationLon = 0;      // deg east
  float Year = 0;
  float DayOfYear = 0;
  float Hour = 0;            // UTC
  float Minute = 0;
  float SquintAngle = 0;     // deg, between the spin axis and the station seen from the satellite
};

struct CameraRecord {        // CM and CL
  float Year = 0;
  float DayOfYear = 0;
  float Hour = 0;            // UTC
  float Minute = 0;
  float Second = 0;
  float Angle = 0;           // deg
};

struct EarthArcRecord {      // EA
  float Orbit = 0;
  float Ma = 0;              // 256ths of a revolution
  float Arc1 = 0;            // 256ths of a turn, sun pulse to limb, EslFudge added when read
  float Arc2 = 0;            // 256ths of a turn, EsuFudge added when read
  float EdgeFlag = 0;        // 1: second limb crossing; any other value: the first
};

// A fixed table: Count records in use, never more than its capacity.
template <class Record, int Capacity>
struct RecordTable {
  static constexpr int Size = Capacity;
  std::array<Record, Capacity> Items{};
  int32_t Count = 0;
  bool Full() const { return Count >= Capacity; }
};

struct AttitudeData {
  RecordTable<SunSensorRecord, 100> SunSensorRecords;
  RecordTable<EarthSensorRecord, 100> EarthSensorRecords;
  RecordTable<EarthMaRecord, 100> EarthMaRecords;
  RecordTable<SquintRecord, 100> SquintRecords;
  RecordTable<CameraRecord, 50> CameraEarthRecords;
  RecordTable<CameraRecord, 50> CameraMoonRecords;
  RecordTable<EarthArcRecord, 100> EarthArcRecords;
  platform::Color EarthArcColor1 = platform::clBlack;   // Arc2 locus; reset to black at every read
  platform::Color EarthArcColor2 = platform::clBlack;   // Arc1 locus; reset to black at every read
  platform::Color CameraEarthColor = platform::clNavy;  // kept from read to read
  platform::Color CameraMoonColor = platform::clPurple; // kept from read to read
};

struct AttitudeColorName {
  const char* Name;
  platform::Color Rgb;
};
// The 15 names a COLOR_ directive may use, matched exactly (there is no "Gray").
extern const std::array<AttitudeColorName, 15> AttitudeColorNames;

// Lines are cut to this many characters before they are read.
inline constexpr std::size_t MaxAttitudeLine = 89;

// Empties the tables, sets the Earth-arc colours to black and reads the file's
// text into them. eslFudge and esuFudge are added to the third and fourth
// value of every EA record. A record field that is not a number raises
// navlib::ConvertError; the records before that line stay counted.
// Records beyond a table's room are ignored; *surplusNotice (when given) is set
// to a line naming the first such record, once per read, else left empty.
void ReadAttitudeText(const std::string& text, float eslFudge, float esuFudge,
                      AttitudeData& data, std::string* surplusNotice);

// The colour of a name of AttitudeColorNames; false for any other name.
bool LookUpAttitudeColor(const std::string& name, platform::Color& out);

}  // namespace gimbra
