// gimbra-cli satview and esarc: one satellite-eye view into a PNG or SVG
// file, and the Earth-sensor arc report on stdout, through the same core
// code the plot window and the report window run.
#pragma once

#include <string>
#include <vector>

namespace gimbra::cli {

// The whole subcommands; args are the words after the subcommand's name.
// Each returns the exit status.
int RunSatview(const std::vector<std::string>& args);
int RunEsarc(const std::vector<std::string>& args);

std::string SatviewUsage();
std::string EsarcUsage();

}  // namespace gimbra::cli
