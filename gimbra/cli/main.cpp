// gimbra-cli: the plotter's command-line twin. Each subcommand runs the same
// core code as the plotter's windows and draws through the same canvas.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "gimbra/cli/cliargs.h"
#include "gimbra/cli/render.h"
#include "gimbra/cli/extras.h"

namespace {

struct Subcommand {
  const char* Name;
  int (*Run)(const std::vector<std::string>& args);
  const char* Summary;
};

// Further subcommands are added to this table.
const Subcommand kSubcommands[] = {
    {"render", gimbra::cli::RunRender, "draw the sky map of one Draw into a PNG or SVG file"},
    {"satview", gimbra::cli::RunSatview, "draw one satellite-eye view into a PNG or SVG file"},
    {"esarc", gimbra::cli::RunEsarc, "print the Earth-sensor arc simulation report of one orbit"},
};

void PrintUsage() {
  std::fputs("usage: gimbra-cli SUBCOMMAND [OPTIONS]\n", stderr);
  for (const Subcommand& s : kSubcommands) std::fprintf(stderr, "  %-8s %s\n", s.Name, s.Summary);
}

// stderr carries the plotter's messages only: Qt's own notes about the
// environment (a missing runtime directory and the like) are dropped.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietQtMessages);
  // Drawing needs fonts, not a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    PrintUsage();
    return gimbra::cli::ExitUsage;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Subcommand& s : kSubcommands) {
    if (std::strcmp(argv[1], s.Name) == 0) return s.Run(args);
  }
  std::fprintf(stderr, "gimbra-cli: unknown subcommand '%s'\n", argv[1]);
  PrintUsage();
  return gimbra::cli::ExitUsage;
}
