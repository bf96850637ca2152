// Two-line sets, the OMM field step shared by the three OMM parsers, and the
// format sniffing.
#include "quenta/import/elementsets.h"

#include <cmath>
#include <cstdlib>

#include "navlib/textnum.h"

namespace quenta {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimView(std::string_view t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

std::string_view TrimRight(std::string_view t) {
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// Splits into lines on "\n"; a "\r" before it stays and is trimmed by the callers.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    if (nl == std::string_view::npos) nl = bytes.size();
    lines.push_back(bytes.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

std::string_view SkipBom(std::string_view bytes) {
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
    bytes.remove_prefix(3);
  return bytes;
}

std::string LineWhere(int lineNo) { return "line " + std::to_string(lineNo); }

bool IsLine1(std::string_view t) { return t.size() >= 2 && t[0] == '1' && t[1] == ' '; }
bool IsLine2(std::string_view t) { return t.size() >= 2 && t[0] == '2' && t[1] == ' '; }

// A strict decimal from fixed columns; ConvertError names the field.
double ColumnNumber(std::string_view line, size_t from, size_t count, const char* field) {
  std::string text(line.substr(from, count));
  try {
    return navlib::StrToFloat(text);
  } catch (const navlib::ConvertError&) {
    throw navlib::ConvertError(std::string(field) + " \"" + text + "\" is not a number");
  }
}

// The two-line set's exponent form with an assumed leading decimal point:
// " 12345-5" is 0.12345e-5. Blanks only before the sign or as a plain zero field.
double AssumedPointExponent(std::string_view field, const char* name) {
  // field is 8 characters: sign, five digits, exponent sign, exponent digit.
  std::string text(field);
  auto bad = [&]() { return navlib::ConvertError(std::string(name) + " \"" + text + "\" is not a number"); };
  if (field.size() != 8) throw bad();
  char sign = field[0];
  if (sign != ' ' && sign != '+' && sign != '-') throw bad();
  double mantissa = 0;
  for (size_t i = 1; i <= 5; ++i) {
    char c = field[i];
    if (c == ' ' && mantissa == 0) continue;  // blank-padded mantissa
    if (!IsDigit(c)) throw bad();
    mantissa = mantissa * 10 + (c - '0');
  }
  char expSign = field[6];
  char expDigit = field[7];
  if ((expSign != '+' && expSign != '-' && expSign != ' ') || !IsDigit(expDigit)) throw bad();
  int exponent = expDigit - '0';
  if (expSign == '-') exponent = -exponent;
  double value = mantissa * 1e-5 * std::pow(10.0, exponent);
  return sign == '-' ? -value : value;
}

// Eccentricity and similar fields: digits only, with an assumed "0." in front.
double AssumedPointDigits(std::string_view field, const char* name) {
  std::string text(field);
  for (char c : field)
    if (!IsDigit(c)) throw navlib::ConvertError(std::string(name) + " \"" + text + "\" is not a number");
  return navlib::StrToFloat("0." + text);
}

bool ParsePair(std::string_view line1, std::string_view line2, int line1No, int line2No,
               ElementSetRecord* set, ParseProblem* problem) {
  auto fail = [&](int lineNo, const std::string& reason) {
    problem->where = LineWhere(lineNo);
    problem->reason = reason;
    return false;
  };
  if (line1.size() != 69) return fail(line1No, "line 1 has " + std::to_string(line1.size()) + " characters, not 69");
  if (line2.size() != 69) return fail(line2No, "line 2 has " + std::to_string(line2.size()) + " characters, not 69");
  for (size_t col : {1u, 8u, 17u, 32u, 43u, 52u, 61u, 63u})
    if (line1[col] != ' ') return fail(line1No, "line 1 has characters out of their columns");
  for (size_t col : {1u, 7u, 16u, 25u, 33u, 42u, 51u})
    if (line2[col] != ' ') return fail(line2No, "line 2 has characters out of their columns");
  const std::string_view lines[2] = {line1, line2};
  const int lineNos[2] = {line1No, line2No};
  for (int k = 0; k < 2; ++k) {
    char given = lines[k][68];
    int sum = TwoLineChecksum(lines[k]);
    if (!IsDigit(given))
      return fail(lineNos[k], "checksum character \"" + std::string(1, given) + "\" is not a digit");
    if (given - '0' != sum)
      return fail(lineNos[k], "bad checksum: the line sums to " + std::to_string(sum) + " but ends in " +
                                  std::string(1, given));
  }
  std::int64_t cat1 = DecodeCatalogNumber(line1.substr(2, 5));
  std::int64_t cat2 = DecodeCatalogNumber(line2.substr(2, 5));
  if (cat1 < 0) return fail(line1No, "catalogue number \"" + std::string(line1.substr(2, 5)) + "\" is not valid");
  if (cat2 != cat1)
    return fail(line2No, "catalogue number \"" + std::string(line2.substr(2, 5)) + "\" of line 2 differs from \"" +
                             std::string(line1.substr(2, 5)) + "\" of line 1");
  int failingLine = line1No;
  try {
    // Line 1: epoch (two-digit year 57..99 = 19xx, 00..56 = 20xx), derivatives.
    std::string_view yy = line1.substr(18, 2);
    if (!IsDigit(yy[0]) || !IsDigit(yy[1]))
      throw navlib::ConvertError("epoch year \"" + std::string(yy) + "\" is not a number");
    int year2 = (yy[0] - '0') * 10 + (yy[1] - '0');
    set->epochYear = year2 < 57 ? 2000 + year2 : 1900 + year2;
    set->epochDay = ColumnNumber(line1, 20, 12, "epoch day");
    set->meanMotionDot = ColumnNumber(line1, 33, 10, "first derivative of the mean motion");
    set->meanMotionDdot = AssumedPointExponent(line1.substr(44, 8), "second derivative of the mean motion");
    failingLine = line2No;
    set->inclinationDeg = ColumnNumber(line2, 8, 8, "inclination");
    set->raanDeg = ColumnNumber(line2, 17, 8, "right ascension of the node");
    set->eccentricity = AssumedPointDigits(line2.substr(26, 7), "eccentricity");
    set->argPerigeeDeg = ColumnNumber(line2, 34, 8, "argument of perigee");
    set->meanAnomalyDeg = ColumnNumber(line2, 43, 8, "mean anomaly");
    set->meanMotionRevDay = ColumnNumber(line2, 52, 11, "mean motion");
    std::string_view rev = TrimView(line2.substr(63, 5));
    set->revAtEpoch = rev.empty() ? 0 : navlib::StrToInt(std::string(rev));
  } catch (const navlib::ConvertError& e) {
    return fail(failingLine, e.what());
  }
  set->catalogNumber = cat1;
  set->catalogText = std::string(TrimView(line1.substr(2, 5)));
  std::string fault = ElementSetFault(*set);
  if (!fault.empty()) return fail(line1No, fault);
  return true;
}

}  // namespace

int TwoLineChecksum(std::string_view line) {
  int sum = 0;
  for (size_t i = 0; i < line.size() && i < 68; ++i) {
    if (IsDigit(line[i])) sum += line[i] - '0';
    else if (line[i] == '-') sum += 1;
  }
  return sum % 10;
}

std::int64_t DecodeCatalogNumber(std::string_view field) {
  if (field.size() != 5) return -1;
  std::int64_t high;
  size_t i = 0;
  char c = field[0];
  if (c >= 'A' && c <= 'Z' && c != 'I' && c != 'O') {
    // Alpha-5: A..H = 10..17, J..N = 18..22, P..Z = 23..33 (I and O are skipped).
    high = 10 + (c - 'A') - (c > 'I' ? 1 : 0) - (c > 'O' ? 1 : 0);
    std::int64_t low = 0;
    for (i = 1; i < 5; ++i) {
      if (!IsDigit(field[i])) return -1;
      low = low * 10 + (field[i] - '0');
    }
    return high * 10000 + low;
  }
  std::int64_t value = 0;
  bool leading = true, any = false;
  for (i = 0; i < 5; ++i) {
    if (field[i] == ' ' && leading) continue;
    leading = false;
    if (!IsDigit(field[i])) return -1;
    value = value * 10 + (field[i] - '0');
    any = true;
  }
  return any ? value : -1;
}

std::int64_t ParseCatalogArgument(std::string_view text) {
  text = TrimView(text);
  if (text.size() == 5 && !IsDigit(text[0])) return DecodeCatalogNumber(text);
  if (text.empty() || text.size() > 15) return -1;
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool ParseOmmEpoch(std::string_view text, int* year, double* dayOfYear) {
  text = TrimView(text);
  if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
  size_t t = text.find_first_of("Tt ");
  if (t == std::string_view::npos) return false;
  std::string_view date = text.substr(0, t), time = text.substr(t + 1);
  auto digits = [](std::string_view s, int* out) {
    if (s.empty() || s.size() > 4) return false;
    int v = 0;
    for (char c : s) {
      if (!IsDigit(c)) return false;
      v = v * 10 + (c - '0');
    }
    *out = v;
    return true;
  };
  int y, doy;
  if (date.size() == 10 && date[4] == '-' && date[7] == '-') {
    int m, d;
    if (!digits(date.substr(0, 4), &y) || !digits(date.substr(5, 2), &m) || !digits(date.substr(8, 2), &d))
      return false;
    if (m < 1 || m > 12 || d < 1) return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    int monthDays = kDays[m - 1] + (m == 2 && leap ? 1 : 0);
    if (d > monthDays) return false;
    doy = d;
    for (int k = 0; k < m - 1; ++k) doy += kDays[k] + (k == 1 && leap ? 1 : 0);
  } else if (date.size() == 8 && date[4] == '-') {
    if (!digits(date.substr(0, 4), &y) || !digits(date.substr(5, 3), &doy)) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (doy < 1 || doy > (leap ? 366 : 365)) return false;
  } else {
    return false;
  }
  if (time.size() < 8 || time[2] != ':' || time[5] != ':') return false;
  int hh, mm;
  if (!digits(time.substr(0, 2), &hh) || !digits(time.substr(3, 2), &mm)) return false;
  std::string_view secText = time.substr(6);
  if (secText.size() < 2 || !IsDigit(secText[0]) || !IsDigit(secText[1])) return false;
  for (size_t i = 2; i < secText.size(); ++i)
    if (!(i == 2 && secText[i] == '.') && !IsDigit(secText[i])) return false;
  double ss;
  try {
    ss = navlib::StrToFloat(std::string(secText));
  } catch (const navlib::ConvertError&) {
    return false;
  }
  if (hh > 23 || mm > 59 || ss >= 61) return false;
  *year = y;
  *dayOfYear = doy + (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
  return true;
}

std::string ElementSetFault(const ElementSetRecord& s) {
  const double values[] = {s.epochDay, s.inclinationDeg, s.raanDeg, s.eccentricity, s.argPerigeeDeg,
                           s.meanAnomalyDeg, s.meanMotionRevDay, s.meanMotionDot, s.meanMotionDdot,
                           s.revAtEpoch};
  for (double v : values)
    if (!std::isfinite(v)) return "a value is not a finite number";
  auto num = [](double v) { return navlib::Format("%.9g", v); };
  // The keps file holds the year in at most five bytes; element sets began in 1957.
  if (s.epochYear < 1957 || s.epochYear > 9999) return "epoch year " + std::to_string(s.epochYear) + " is out of range";
  if (s.epochDay < 1 || s.epochDay >= 367) return "epoch day " + num(s.epochDay) + " is not a day of the year";
  if (s.inclinationDeg < 0 || s.inclinationDeg > 180) return "inclination " + num(s.inclinationDeg) + " is not 0 to 180 degrees";
  if (s.raanDeg < 0 || s.raanDeg > 360) return "right ascension of the node " + num(s.raanDeg) + " is not 0 to 360 degrees";
  if (s.argPerigeeDeg < 0 || s.argPerigeeDeg > 360) return "argument of perigee " + num(s.argPerigeeDeg) + " is not 0 to 360 degrees";
  if (s.meanAnomalyDeg < 0 || s.meanAnomalyDeg > 360) return "mean anomaly " + num(s.meanAnomalyDeg) + " is not 0 to 360 degrees";
  if (s.eccentricity < 0 || s.eccentricity >= 1) return "eccentricity " + num(s.eccentricity) + " is not 0 to below 1";
  // Above about 17 revolutions per day the orbit would lie inside the Earth.
  if (s.meanMotionRevDay <= 0 || s.meanMotionRevDay > 20)
    return "mean motion " + num(s.meanMotionRevDay) + " is not above 0 and at most 20 revolutions per day";
  if (s.revAtEpoch < 0 || s.revAtEpoch > 16777216) return "revolution number " + num(s.revAtEpoch) + " is out of range";
  if (std::fabs(s.meanMotionDot) >= 1 || std::fabs(s.meanMotionDdot) >= 1)
    return "a derivative of the mean motion is out of range";
  return "";
}

ParseResult ParseTwoLineSets(std::string_view bytes) {
  ParseResult result;
  result.format = SourceFormat::TwoLine;
  std::vector<std::string_view> lines = SplitLines(SkipBom(bytes));
  std::string pendingTitle;
  int pendingTitleLine = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view t = TrimRight(lines[i]);
    int lineNo = static_cast<int>(i) + 1;
    if (TrimView(t).empty()) continue;
    if (IsLine1(t)) {
      size_t j = i + 1;
      while (j < lines.size() && TrimView(lines[j]).empty()) ++j;
      std::string_view next = j < lines.size() ? TrimRight(lines[j]) : std::string_view();
      if (!IsLine2(next)) {
        result.problems.push_back({LineWhere(lineNo), "line 1 of a set without its line 2"});
      } else {
        ElementSetRecord set;
        ParseProblem problem;
        if (ParsePair(t, next, lineNo, static_cast<int>(j) + 1, &set, &problem)) {
          set.objectName = pendingTitle;
          set.where = LineWhere(pendingTitleLine ? pendingTitleLine : lineNo);
          result.sets.push_back(std::move(set));
        } else {
          if (!pendingTitle.empty()) problem.reason += " (" + pendingTitle + ")";
          result.problems.push_back(problem);
        }
        i = j;
      }
      pendingTitle.clear();
      pendingTitleLine = 0;
    } else if (IsLine2(t)) {
      result.problems.push_back({LineWhere(lineNo), "line 2 of a set without its line 1"});
      pendingTitle.clear();
      pendingTitleLine = 0;
    } else {
      if (pendingTitleLine)
        result.problems.push_back({LineWhere(pendingTitleLine), "title line \"" + pendingTitle + "\" without a set"});
      std::string_view title = TrimView(t);
      // Three-line files from some catalogues put "0 " in front of the title.
      if (title.size() > 2 && title[0] == '0' && title[1] == ' ') title = TrimView(title.substr(2));
      pendingTitle = std::string(title);
      pendingTitleLine = lineNo;
    }
  }
  if (pendingTitleLine)
    result.problems.push_back({LineWhere(pendingTitleLine), "title line \"" + pendingTitle + "\" without a set"});
  return result;
}

bool OmmFieldsToSet(const std::vector<std::pair<std::string, std::string>>& fields, ElementSetRecord* set,
                    std::string* reason) {
  auto find = [&](const char* key) -> const std::string* {
    for (const auto& kv : fields)
      if (kv.first == key) return &kv.second;
    return nullptr;
  };
  const char* required[] = {"NORAD_CAT_ID", "EPOCH", "MEAN_MOTION", "ECCENTRICITY", "INCLINATION",
                            "RA_OF_ASC_NODE", "ARG_OF_PERICENTER", "MEAN_ANOMALY"};
  for (const char* key : required) {
    const std::string* v = find(key);
    if (!v || TrimView(*v).empty()) {
      *reason = std::string(key) + " is missing";
      return false;
    }
  }
  ElementSetRecord s;
  if (const std::string* name = find("OBJECT_NAME")) s.objectName = std::string(TrimView(*name));
  std::string cat(TrimView(*find("NORAD_CAT_ID")));
  s.catalogNumber = ParseCatalogArgument(cat);
  if (s.catalogNumber < 0) {
    *reason = "NORAD_CAT_ID \"" + cat + "\" is not a catalogue number";
    return false;
  }
  s.catalogText = cat;
  if (!ParseOmmEpoch(*find("EPOCH"), &s.epochYear, &s.epochDay)) {
    *reason = "EPOCH \"" + *find("EPOCH") + "\" is not a date and time";
    return false;
  }
  struct Field { const char* key; double* target; bool optional; } numeric[] = {
      {"MEAN_MOTION", &s.meanMotionRevDay, false}, {"ECCENTRICITY", &s.eccentricity, false},
      {"INCLINATION", &s.inclinationDeg, false},   {"RA_OF_ASC_NODE", &s.raanDeg, false},
      {"ARG_OF_PERICENTER", &s.argPerigeeDeg, false}, {"MEAN_ANOMALY", &s.meanAnomalyDeg, false},
      {"REV_AT_EPOCH", &s.revAtEpoch, true},       {"MEAN_MOTION_DOT", &s.meanMotionDot, true},
      {"MEAN_MOTION_DDOT", &s.meanMotionDdot, true},
  };
  for (const Field& f : numeric) {
    const std::string* v = find(f.key);
    if (!v || TrimView(*v).empty()) {
      if (f.optional) continue;
      *reason = std::string(f.key) + " is missing";
      return false;
    }
    try {
      *f.target = navlib::StrToFloat(*v);
    } catch (const navlib::ConvertError&) {
      *reason = std::string(f.key) + " \"" + *v + "\" is not a number";
      return false;
    }
  }
  if (s.revAtEpoch != std::floor(s.revAtEpoch)) {
    *reason = "REV_AT_EPOCH \"" + *find("REV_AT_EPOCH") + "\" is not a whole number";
    return false;
  }
  std::string fault = ElementSetFault(s);
  if (!fault.empty()) {
    *reason = fault;
    return false;
  }
  *set = std::move(s);
  return true;
}

SourceFormat DetectFormat(std::string_view bytes) {
  bytes = TrimView(SkipBom(bytes));
  if (bytes.empty()) return SourceFormat::TwoLine;
  if (bytes[0] == '[' || bytes[0] == '{') return SourceFormat::OmmJson;
  if (bytes[0] == '<') return SourceFormat::OmmXml;
  std::string_view first = bytes.substr(0, bytes.find('\n'));
  if (first.find(',') != std::string_view::npos &&
      (first.find("NORAD_CAT_ID") != std::string_view::npos || first.find("OBJECT_NAME") != std::string_view::npos ||
       first.find("MEAN_MOTION") != std::string_view::npos))
    return SourceFormat::OmmCsv;
  return SourceFormat::TwoLine;
}

ParseResult ParseElementSets(std::string_view bytes) {
  switch (DetectFormat(bytes)) {
    case SourceFormat::OmmJson: return ParseOmmJson(bytes);
    case SourceFormat::OmmXml: return ParseOmmXml(bytes);
    case SourceFormat::OmmCsv: return ParseOmmCsv(bytes);
    case SourceFormat::TwoLine: break;
  }
  return ParseTwoLineSets(bytes);
}

}  // namespace quenta
