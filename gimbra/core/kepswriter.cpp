// The keps writer: the satellite's keps file read back in its own units and
// written again with a new attitude, every other value exactly as stored.
#include "gimbra/core/kepswriter.h"

#include "platform/atomicfile.h"

namespace gimbra {

const char* const KepsNotWrittenText = "Keps file not written!";

namespace {

// Field sizes of the keps reader: 5 bytes for the year, 24 for every other field.
constexpr size_t KepsYearBytes = 5;
constexpr size_t KepsFieldBytes = 24;
// The attitude components are stored to four decimals.
constexpr int AttitudeDecimals = 4;

}  // namespace

std::string KepsLineWithAttitude(const float (&fileValues)[15], const navlib::Vec3& attitude) {
  std::string line;
  for (int i = 0; i < 15; ++i) {
    float value = fileValues[i];
    if (i >= 10 && i <= 12) value = navlib::RoundTo(attitude[i - 10], AttitudeDecimals);
    if (i) line += ',';
    line += navlib::KepsFieldText(value, i == 0 ? KepsYearBytes : KepsFieldBytes);
  }
  return line;
}

KepsWriteResult WriteKepsWithAttitude(navlib::NavState& nav, const navlib::Vec3& savedAttitude,
                                      platform::UiHost& host) {
  KepsWriteResult result;
  navlib::ElementSet stored;  // the file's values in the file's units; nav.Elements stays as it is
  {
    navlib::HostLoan loan(nav, host);
    result.Path = navlib::KepsFileName(nav);
    if (!navlib::ReadKepsFileUnits(nav, stored)) {
      // Without the file's own values only the derived ones (the epoch's
      // fraction of a day, the axis from the mean motion) are at hand:
      // writing them would store a wrong epoch and axis.
      result.Status = KepsWriteStatus::NotRead;
      result.Message = navlib::KepsNotFoundText;
      return result;
    }
  }
  // The old name of Mir's keps file; the library keeps the new name until
  // the next Draw stores the selected list entry again.
  if (nav.SatName == "MIR") nav.SatName = "MIR-1";
  // The very file the reader reads for this name ("EL-" and its first five
  // characters), so an attitude saved for a longer name is read back.
  result.Path = navlib::KepsFileName(nav);

  float values[15];
  for (int i = 0; i < 15; ++i) values[i] = stored.Field(i);
  const std::string line = KepsLineWithAttitude(values, savedAttitude);

  std::string reason;
  if (!platform::WriteFileAtomically(result.Path, line, &reason)) {
    result.Status = KepsWriteStatus::WriteFailed;
    result.Message = std::string(KepsNotWrittenText) + "\n" + reason;
    host.showMessage(result.Message);
    return result;
  }
  result.Status = KepsWriteStatus::Written;
  result.Text = line;
  return result;
}

}  // namespace gimbra
