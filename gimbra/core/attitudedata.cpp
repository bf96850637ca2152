#include "gimbra/core/attitudedata.h"

#include <algorithm>
#include <cstring>

#include "navlib/textnum.h"

namespace gimbra {

const std::array<AttitudeColorName, 15> AttitudeColorNames = {{
    {"White", platform::clWhite},
    {"Black", platform::clBlack},
    {"Maroon", platform::clMaroon},
    {"Green", platform::clGreen},
    {"Olive", platform::clOlive},
    {"Navy", platform::clNavy},
    {"Purple", platform::clPurple},
    {"Teal", platform::clTeal},
    {"Silver", platform::clSilver},
    {"Red", platform::clRed},
    {"Lime", platform::clLime},
    {"Yellow", platform::clYellow},
    {"Blue", platform::clBlue},
    {"Fuchsia", platform::clFuchsia},
    {"Aqua", platform::clAqua},
}};

bool LookUpAttitudeColor(const std::string& name, platform::Color& out) {
  for (const auto& entry : AttitudeColorNames) {
    if (name == entry.Name) {
      out = entry.Rgb;
      return true;
    }
  }
  return false;
}

namespace {

// Blanks in the file's sense: every character code of 32 or less.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& t) {
  std::size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return t.substr(b, e - b);
}

bool StartsWith(const std::string& line, const char* keyword) {
  return line.compare(0, std::strlen(keyword), keyword) == 0;
}

// Splits the text after a record keyword into `count` fields: each but the
// last ends at the next comma (empty when none follows); the last is the
// rest, or, for camera records, ends at a further comma. Every field is
// converted with the strict decimal conversion.
void ReadFields(const std::string& rest, int count, bool remarkAllowed, float* out) {
  std::size_t pos = 0;
  for (int f = 0; f < count; ++f) {
    std::string field;
    const bool last = f == count - 1;
    if (!last || remarkAllowed) {
      const std::size_t comma = pos <= rest.size() ? rest.find(',', pos) : std::string::npos;
      if (comma == std::string::npos) {
        field = last && pos <= rest.size() ? rest.substr(pos) : std::string();
        pos = rest.size() + 1;
      } else {
        field = rest.substr(pos, comma - pos);
        pos = comma + 1;
      }
    } else {
      field = pos <= rest.size() ? rest.substr(pos) : std::string();
    }
    out[f] = static_cast<float>(navlib::StrToFloat(Trim(field)));
  }
}

// Reads one record into the next free entry of the table, or reports the
// first record that finds the table full.
template <class Record, int Capacity, int Fields>
void ReadRecord(RecordTable<Record, Capacity>& table, const std::string& rest, bool remarkAllowed,
                const std::string& line, int lineNumber, std::string* surplusNotice,
                const char* kind, void (*store)(Record&, const float*)) {
  float values[Fields];
  // Fields are converted first, so a bad field raises the error whether or not
  // there is room for the record.
  ReadFields(rest, Fields, remarkAllowed, values);
  if (table.Full()) {
    if (surplusNotice && surplusNotice->empty()) {
      *surplusNotice = navlib::Format(
          "Attitude data file: line %d and every later %s record ignored, the table holds %d.\n%s",
          lineNumber, kind, Capacity, line.c_str());
    }
    return;
  }
  store(table.Items[table.Count], values);
  ++table.Count;
}

}  // namespace

void ReadAttitudeText(const std::string& text, float eslFudge, float esuFudge, AttitudeData& data,
                      std::string* surplusNotice) {
  data.SunSensorRecords.Count = 0;
  data.EarthSensorRecords.Count = 0;
  data.EarthMaRecords.Count = 0;
  data.SquintRecords.Count = 0;
  data.CameraEarthRecords.Count = 0;
  data.CameraMoonRecords.Count = 0;
  data.EarthArcRecords.Count = 0;
  data.EarthArcColor1 = platform::clBlack;
  data.EarthArcColor2 = platform::clBlack;
  if (surplusNotice) surplusNotice->clear();

  std::size_t pos = 0;
  int lineNumber = 0;
  while (pos < text.size()) {
    // One line: ends at CR LF, LF or CR. Only its first 89 characters are
    // read; the rest of an overlong line is passed over.
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    std::string line = text.substr(pos, std::min(end - pos, MaxAttitudeLine));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') {
      ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
    } else if (pos < text.size()) {
      ++pos;  // the LF
    }
    ++lineNumber;

    line = Trim(line);
    if (StartsWith(line, "REM")) continue;
    const std::string rest = line.size() > 2 ? line.substr(2) : std::string();

    if (StartsWith(line, "SS")) {
      ReadRecord<SunSensorRecord, 100, 3>(
          data.SunSensorRecords, rest, false, line, lineNumber, surplusNotice, "SS",
          [](SunSensorRecord& r, const float* v) { r = {v[0], v[1], v[2]}; });
    } else if (StartsWith(line, "ES")) {
      ReadRecord<EarthSensorRecord, 100, 4>(
          data.EarthSensorRecords, rest, false, line, lineNumber, surplusNotice, "ES",
          [](EarthSensorRecord& r, const float* v) { r = {v[0], v[1], v[2], v[3]}; });
    } else if (StartsWith(line, "EM")) {
      ReadRecord<EarthMaRecord, 100, 4>(
          data.EarthMaRecords, rest, false, line, lineNumber, surplusNotice, "EM",
          [](EarthMaRecord& r, const float* v) { r = {v[0], v[1], v[2], v[3]}; });
    } else if (StartsWith(line, "SQ")) {
      ReadRecord<SquintRecord, 100, 7>(
          data.SquintRecords, rest, false, line, lineNumber, surplusNotice, "SQ",
          [](SquintRecord& r, const float* v) { r = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]}; });
    } else if (StartsWith(line, "CM")) {
      ReadRecord<CameraRecord, 50, 6>(
          data.CameraEarthRecords, rest, true, line, lineNumber, surplusNotice, "CM",
          [](CameraRecord& r, const float* v) { r = {v[0], v[1], v[2], v[3], v[4], v[5]}; });
    } else if (StartsWith(line, "CL")) {
      ReadRecord<CameraRecord, 50, 6>(
          data.CameraMoonRecords, rest, true, line, lineNumber, surplusNotice, "CL",
          [](CameraRecord& r, const float* v) { r = {v[0], v[1], v[2], v[3], v[4], v[5]}; });
    } else if (StartsWith(line, "EA")) {
      float values[5];
      ReadFields(rest, 5, false, values);
      // The fudge fields shift the two arcs as they are read: the values of
      // the fields at this Draw.
      values[2] = static_cast<float>(static_cast<double>(values[2]) + eslFudge);
      values[3] = static_cast<float>(static_cast<double>(values[3]) + esuFudge);
      auto& table = data.EarthArcRecords;
      if (table.Full()) {
        if (surplusNotice && surplusNotice->empty()) {
          *surplusNotice = navlib::Format(
              "Attitude data file: line %d and every later EA record ignored, the table holds %d.\n%s",
              lineNumber, table.Size, line.c_str());
        }
      } else {
        table.Items[table.Count] = {values[0], values[1], values[2], values[3], values[4]};
        ++table.Count;
      }
    } else if (StartsWith(line, "COLOR_EA")) {
      const std::string names = line.substr(8);
      const std::size_t comma = names.find(',');
      const std::string first = comma == std::string::npos ? std::string() : Trim(names.substr(0, comma));
      const std::string second = comma == std::string::npos ? Trim(names) : Trim(names.substr(comma + 1));
      LookUpAttitudeColor(first, data.EarthArcColor1);
      LookUpAttitudeColor(second, data.EarthArcColor2);
    } else if (StartsWith(line, "COLOR_CM")) {
      LookUpAttitudeColor(Trim(line.substr(8)), data.CameraEarthColor);
    } else if (StartsWith(line, "COLOR_CL")) {
      LookUpAttitudeColor(Trim(line.substr(8)), data.CameraMoonColor);
    }
  }
}

}  // namespace gimbra
