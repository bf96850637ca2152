// Element sets as operators download them: NORAD two-line sets (with or
// without a title line) and Orbit Mean-elements Messages (OMM) in CSV, JSON
// and XML. Each parser takes the raw bytes of one file and never throws:
// every set it cannot read becomes a problem with its line or record and the
// reason, and the sets it can read are returned in file order. The parsers are
// pure functions of their input, so they can be fed arbitrary bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quenta {

// One general-perturbations element set, in the units it was published in.
struct ElementSetRecord {
  std::string objectName;      // title line or OBJECT_NAME, trimmed; may be empty
  std::int64_t catalogNumber = 0;  // NORAD catalogue number (Alpha-5 decoded)
  std::string catalogText;     // the catalogue number as written ("07530", "A0001")
  int epochYear = 0;           // year in full
  double epochDay = 0;         // day of the year with fraction; 1.0 = 1 January 0 h UTC
  double inclinationDeg = 0;
  double raanDeg = 0;          // right ascension of the ascending node
  double eccentricity = 0;
  double argPerigeeDeg = 0;
  double meanAnomalyDeg = 0;   // at the epoch
  double meanMotionRevDay = 0; // revolutions per day
  double meanMotionDot = 0;    // rev/day^2: half the first derivative of the mean motion
  double meanMotionDdot = 0;   // rev/day^3: one sixth of the second derivative
  double revAtEpoch = 0;       // revolution number at the epoch
  std::string where;           // "line 4" or "record 2": where the set starts in its file
};

struct ParseProblem {
  std::string where;   // "line 7", "record 3 (line 40)"
  std::string reason;  // what is wrong with the set
};

enum class SourceFormat { TwoLine, OmmCsv, OmmJson, OmmXml };

struct ParseResult {
  SourceFormat format = SourceFormat::TwoLine;
  std::vector<ElementSetRecord> sets;
  std::vector<ParseProblem> problems;
};

// Two-line sets, each optionally preceded by a title line ("0 " in front of a
// title is dropped). Checksums, catalogue numbers of both lines and every field
// are verified.
ParseResult ParseTwoLineSets(std::string_view bytes);
// OMM as CSV: a header row naming the keywords, one set per row.
ParseResult ParseOmmCsv(std::string_view bytes);
// OMM as JSON: an array of objects (or one object) keyed by the OMM keywords.
ParseResult ParseOmmJson(std::string_view bytes);
// OMM as XML: one <omm> element per set (CCSDS NDM/XML layout).
ParseResult ParseOmmXml(std::string_view bytes);

// The format a file's content is in: JSON when it starts with "[" or "{",
// XML with "<", CSV when its first line names OMM keywords, else two-line sets.
SourceFormat DetectFormat(std::string_view bytes);
// DetectFormat, then the matching parser.
ParseResult ParseElementSets(std::string_view bytes);

// ---- pieces the parsers are made of, tested on their own ----

// Sum of the digits of the first 68 characters, each "-" counting 1, modulo 10.
int TwoLineChecksum(std::string_view line);
// Five-character catalogue field: five digits (blanks as leading zeros), or
// Alpha-5 (a letter other than I and O for the ten-thousands: A = 10 ... Z = 33,
// then four digits). -1 when it is neither.
std::int64_t DecodeCatalogNumber(std::string_view field);
// Catalogue number given by the operator: digits of any length or Alpha-5.
// -1 when it is neither.
std::int64_t ParseCatalogArgument(std::string_view text);
// "YYYY-MM-DDThh:mm:ss[.fff][Z]" or "YYYY-DDDThh:mm:ss[.fff][Z]" to year and
// day of the year with fraction; false when the text is not such a date.
bool ParseOmmEpoch(std::string_view text, int* year, double* dayOfYear);
// Empty when every value is finite and inside its range (eccentricity below 1,
// positive mean motion, angles of a turn, a four-digit year ...), else the reason.
std::string ElementSetFault(const ElementSetRecord& set);
// The four OMM parsers' shared step: one set from keyword/value texts (the
// keywords in capitals). False with the reason when a value is missing or bad.
bool OmmFieldsToSet(const std::vector<std::pair<std::string, std::string>>& fields,
                    ElementSetRecord* set, std::string* reason);

}  // namespace quenta
