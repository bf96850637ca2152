// Writing the attitude into the satellite's keps file (Shift-click: the
// direction found; Alt-click: zero, no attitude). The other twelve values are
// read back from the file itself, in the file's units, and written so that
// the reader gets exactly the same 32-bit floats again.
#pragma once

#include <string>

#include "navlib/navlib.h"
#include "platform/uihost.h"

namespace gimbra {

enum class KepsWriteStatus {
  Written,      // the file holds the new attitude
  NotRead,      // the keps file could not be read: its message shown, nothing written
  WriteFailed,  // the file could not be replaced: message shown, the old file intact
};

struct KepsWriteResult {
  KepsWriteStatus Status = KepsWriteStatus::NotRead;
  std::string Path;     // the keps file read and written
  std::string Text;     // the line written (empty unless Written)
  std::string Message;  // the message shown (empty when Written)
};

// The failure message of a write; a line with the file and the reason follows it.
extern const char* const KepsNotWrittenText;  // "Keps file not written!"

// The keps file's line for fifteen values in file order and file units:
// the year within 5 bytes, the others within 24, each with the fewest
// significant digits the reader reads back as the same float; attitude
// components (10 ... 12) are first rounded to 4 decimals (RoundTo).
std::string KepsLineWithAttitude(const float (&fileValues)[15], const navlib::Vec3& attitude);

// Reads the satellite's keps file (nav.SatName, nav.KepsDir) into a record of
// its own in the file's units, applies the "MIR" -> "MIR-1" name rule to
// nav.SatName, and replaces the file the reader reads for that name
// atomically with the same values and RoundTo(attitude, 4). The element set
// held in nav stays untouched. Messages go to host.
KepsWriteResult WriteKepsWithAttitude(navlib::NavState& nav, const navlib::Vec3& savedAttitude,
                                      platform::UiHost& host);

}  // namespace gimbra
