// gimbra-cli's option parser on arbitrary words (the input cut at zero
// bytes) with the drawing subcommands' option table, then the main window's
// fields filled from what it accepted through the same validators the window
// runs (segments clamped, ALON wrapped, ALAT folded).
#include "fuzz_common.h"
#include "gimbra/cli/cliargs.h"
#include "gimbra/cli/render.h"
#include "navlib/textnum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<gimbra::cli::CliOption> table = gimbra::cli::RenderOptionTable();
  gimbra::cli::ParsedArgs parsed;
  std::string error;
  if (!gimbra::cli::ParseOptions(velmfuzz::Words(data, size), table, parsed, &error)) return 0;
  gimbra::cli::RenderRequest request;
  try {
    (void)gimbra::cli::BuildRenderRequest(parsed, request, &error);
  } catch (const navlib::ConvertError&) {
  }
  return 0;
}
