// Orbit Mean-elements Messages in CSV, JSON and XML. Each record becomes a
// list of keyword/value texts and goes through OmmFieldsToSet, so the three
// layouts read their values by one rule.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>

#include "navlib/textnum.h"
#include "quenta/import/elementsets.h"

namespace quenta {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return s.substr(b, e - b);
}

void AddRecord(ParseResult* result, const Fields& fields, const std::string& where) {
  ElementSetRecord set;
  std::string reason;
  if (OmmFieldsToSet(fields, &set, &reason)) {
    set.where = where;
    result->sets.push_back(std::move(set));
  } else {
    std::string name;
    for (const auto& kv : fields)
      if (kv.first == "OBJECT_NAME") name = Trim(kv.second);
    if (!name.empty()) reason += " (" + name + ")";
    result->problems.push_back({where, reason});
  }
}

// One CSV record: its fields and the line it starts on. Quoted fields may hold
// commas, doubled quotes and line breaks.
struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;
};

std::vector<CsvRecord> SplitCsv(std::string_view bytes, std::string* error) {
  std::vector<CsvRecord> records;
  CsvRecord current;
  std::string field;
  bool inQuotes = false, fieldQuoted = false, any = false;
  int line = 1;
  current.line = 1;
  auto endField = [&]() {
    current.fields.push_back(fieldQuoted ? field : Trim(field));
    field.clear();
    fieldQuoted = false;
  };
  auto endRecord = [&]() {
    endField();
    bool blank = current.fields.size() == 1 && current.fields[0].empty();
    if (!blank) records.push_back(std::move(current));
    current = CsvRecord();
    current.line = line;
    any = false;
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (inQuotes) {
      if (c == '"') {
        if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          inQuotes = false;
        }
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && Trim(field).empty()) {
      field.clear();
      inQuotes = true;
      fieldQuoted = true;
      any = true;
    } else if (c == ',') {
      endField();
      any = true;
    } else if (c == '\n') {
      ++line;
      endRecord();
    } else if (c == '\r') {
      // part of the line end
    } else {
      field += c;
      any = true;
    }
  }
  if (inQuotes) *error = "a quoted field is not closed";
  if (any || !field.empty()) endRecord();
  return records;
}

}  // namespace

ParseResult ParseOmmCsv(std::string_view bytes) {
  ParseResult result;
  result.format = SourceFormat::OmmCsv;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string error;
  std::vector<CsvRecord> records = SplitCsv(bytes, &error);
  if (records.empty()) {
    result.problems.push_back({"line 1", "no header row naming the OMM keywords"});
    return result;
  }
  std::vector<std::string> header;
  for (const std::string& h : records[0].fields) header.push_back(Upper(Trim(h)));
  if (std::find(header.begin(), header.end(), "NORAD_CAT_ID") == header.end()) {
    result.problems.push_back({"line " + std::to_string(records[0].line), "the header row names no NORAD_CAT_ID column"});
    return result;
  }
  for (size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& rec = records[r];
    std::string where = "line " + std::to_string(rec.line);
    if (rec.fields.size() != header.size()) {
      result.problems.push_back({where, "the row has " + std::to_string(rec.fields.size()) + " fields, the header " +
                                            std::to_string(header.size())});
      continue;
    }
    Fields fields;
    for (size_t k = 0; k < header.size(); ++k) fields.emplace_back(header[k], rec.fields[k]);
    AddRecord(&result, fields, where);
  }
  if (!error.empty()) result.problems.push_back({"line " + std::to_string(records.back().line), error});
  return result;
}

ParseResult ParseOmmJson(std::string_view bytes) {
  ParseResult result;
  result.format = SourceFormat::OmmJson;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  QJsonParseError parseError;
  QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    result.problems.push_back({"offset " + std::to_string(parseError.offset),
                               "not valid JSON: " + parseError.errorString().toStdString()});
    return result;
  }
  QJsonArray records;
  if (doc.isArray()) records = doc.array();
  else if (doc.isObject()) records.append(doc.object());
  for (qsizetype r = 0; r < records.size(); ++r) {
    std::string where = "record " + std::to_string(r + 1);
    if (!records.at(r).isObject()) {
      result.problems.push_back({where, "not an object of OMM keywords"});
      continue;
    }
    QJsonObject obj = records.at(r).toObject();
    Fields fields;
    for (auto it = obj.begin(); it != obj.end(); ++it) {
      std::string key = Upper(it.key().toStdString());
      const QJsonValue v = it.value();
      std::string text;
      if (v.isString()) {
        text = v.toString().toStdString();
      } else if (v.isDouble()) {
        // %.17g gives back the very double the JSON number was read into.
        double d = v.toDouble();
        text = navlib::Format("%.17g", d);
      } else if (v.isNull() || v.isUndefined()) {
        text = "";
      } else {
        text = "?";  // arrays, objects, booleans: not a value of an OMM keyword
      }
      fields.emplace_back(key, text);
    }
    AddRecord(&result, fields, where);
  }
  if (records.isEmpty()) result.problems.push_back({"record 1", "no element set in the JSON document"});
  return result;
}

ParseResult ParseOmmXml(std::string_view bytes) {
  ParseResult result;
  result.format = SourceFormat::OmmXml;
  QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  Fields fields;
  int record = 0;
  int recordLine = 0;
  bool inOmm = false;
  auto where = [&]() { return "record " + std::to_string(record) + " (line " + std::to_string(recordLine) + ")"; };
  while (!xml.atEnd()) {
    QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      std::string name = xml.name().toString().toStdString();
      if (name == "omm") {
        inOmm = true;
        ++record;
        recordLine = static_cast<int>(xml.lineNumber());
        fields.clear();
        continue;
      }
      // OMM keywords are the leaf elements in capitals (OBJECT_NAME, EPOCH ...).
      bool keyword = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
      });
      if (keyword) {
        if (!inOmm && record == 0) {
          record = 1;  // a file of one set without the <omm> wrapper
          recordLine = static_cast<int>(xml.lineNumber());
        }
        QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        fields.emplace_back(name, text.toStdString());
      }
    } else if (token == QXmlStreamReader::EndElement && xml.name() == QStringLiteral("omm")) {
      AddRecord(&result, fields, where());
      fields.clear();
      inOmm = false;
    }
  }
  if (xml.hasError()) {
    result.problems.push_back({"line " + std::to_string(xml.lineNumber()),
                               "not valid XML: " + xml.errorString().toStdString()});
  } else if (!inOmm && !fields.empty()) {
    AddRecord(&result, fields, where());
  }
  if (result.sets.empty() && result.problems.empty())
    result.problems.push_back({"line 1", "no element set in the XML document"});
  return result;
}

}  // namespace quenta
